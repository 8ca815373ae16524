#include "SelfSignedCert.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace ordersim {

namespace {

template <auto Free>
struct Deleter {
  template <typename T>
  void operator()(T* p) const {
    Free(p);
  }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using CertPtr = std::unique_ptr<X509, Deleter<X509_free>>;
using BioPtr = std::unique_ptr<BIO, Deleter<BIO_free>>;
using ExtPtr = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION_free>>;
using BnPtr = std::unique_ptr<BIGNUM, Deleter<BN_free>>;

[[noreturn]] void Fail(const char* step) {
  char reason[256] = "unknown reason";
  if (const unsigned long code = ERR_get_error()) ERR_error_string_n(code, reason, sizeof reason);
  ERR_clear_error();
  throw std::runtime_error(std::string("certificate: ") + step + " failed: " + reason);
}

void Check(int ok, const char* step) {
  if (ok != 1) Fail(step);
}

void AddExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
  ExtPtr ext(X509V3_EXT_conf_nid(nullptr, &ctx, nid, value));
  if (!ext) Fail("X509V3_EXT_conf_nid");
  Check(X509_add_ext(cert, ext.get(), -1), "X509_add_ext");
}

std::string ReadBio(BIO* bio) {
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio, &data);
  return std::string(data, static_cast<size_t>(size));
}

}  // namespace

PemPair MakeSelfSignedCertificate() {
  KeyPtr key(EVP_EC_gen("P-256"));
  if (!key) Fail("EVP_EC_gen");

  CertPtr cert(X509_new());
  if (!cert) Fail("X509_new");
  Check(X509_set_version(cert.get(), 2), "X509_set_version");

  BnPtr serial(BN_new());
  if (!serial) Fail("BN_new");
  Check(BN_rand(serial.get(), 64, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY), "BN_rand");
  if (!BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get())))
    Fail("BN_to_ASN1_INTEGER");

  if (!X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600)) Fail("X509_gmtime_adj");
  if (!X509_gmtime_adj(X509_getm_notAfter(cert.get()), 30L * 24 * 3600)) Fail("X509_gmtime_adj");
  Check(X509_set_pubkey(cert.get(), key.get()), "X509_set_pubkey");

  X509_NAME* name = X509_get_subject_name(cert.get());
  Check(X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("order-sim"), -1, -1, 0),
        "X509_NAME_add_entry_by_txt");
  Check(X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0),
        "X509_NAME_add_entry_by_txt");
  Check(X509_set_issuer_name(cert.get(), name), "X509_set_issuer_name");

  AddExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign");
  AddExtension(cert.get(), NID_ext_key_usage, "serverAuth");
  AddExtension(cert.get(), NID_subject_key_identifier, "hash");
  AddExtension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");

  if (X509_sign(cert.get(), key.get(), EVP_sha256()) <= 0) Fail("X509_sign");

  BioPtr certBio(BIO_new(BIO_s_mem()));
  BioPtr keyBio(BIO_new(BIO_s_mem()));
  if (!certBio || !keyBio) Fail("BIO_new");
  Check(PEM_write_bio_X509(certBio.get(), cert.get()), "PEM_write_bio_X509");
  Check(PEM_write_bio_PrivateKey(keyBio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr),
        "PEM_write_bio_PrivateKey");
  return {ReadBio(certBio.get()), ReadBio(keyBio.get())};
}

}  // namespace ordersim
