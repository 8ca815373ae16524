#include "ApiWorld.h"

#include <QDate>
#include <QFile>

#include "diag/TDebugWindow.h"
#include "diag/TErrorManager.h"

namespace {

QStringList WithoutStamps(const QStringList& lines, qsizetype stampLength) {
  QStringList out;
  for (const QString& line : lines) out << line.mid(stampLength);
  return out;
}

}  // namespace

const ordersim::Shop& ApiWorld::TestShop() {
  static const ordersim::Shop shop = [] {
    ordersim::Shop s;
    s.id = "101";
    s.authCode = "auth101";
    s.adminPhone = "010-1111-2222";
    s.subAdmins = {{"010-3333-4444", "sub7", "subauth7"}};
    s.name = "한빛 분식";
    s.tel = "02-123-4567";
    s.bizNum = "123-45-67890";
    s.ownerName = "김하늘";
    s.addr1 = "서울시 중구";
    s.addr2 = "1층";
    s.deliveryMessage = "맛있게 드세요";
    s.origin = "쌀: 국내산";
    s.affiliate = "한빛";
    return s;
  }();
  return shop;
}

ApiWorld::ApiWorld() {
  sim_.start();
  sim_.addShop(TestShop());
  writeServerIni({});
  TDebugWindow::ResetForTests();
  TDebugWindow::UseDebugWin();
  TErrorManager::ResetForTests();
  TErrorManager::UseErrorManager();
  TErrorManager::SetPath(data_.dataFolder() + "/log/");
}

ApiWorld::~ApiWorld() {
  TErrorManager::ResetForTests();
  TDebugWindow::ResetForTests();
}

void ApiWorld::writeServerIni(Trust trust) {
  const QString host = QString::fromStdString(sim_.httpsHost());
  writeServerIni(trust, host, host);
}

void ApiWorld::writeServerIni(Trust trust, const QString& webHost, const QString& orderHost) {
  QByteArray ini = "[Server]\nWebHost=" + webHost.toUtf8() + "\nOrderHost=" + orderHost.toUtf8() +
                   "\nVerifyTls=" + (trust.verify ? "1" : "0") + "\n";
  if (trust.caFile) ini += "CaFile=" + QByteArray::fromStdString(sim_.certPath()) + "\n";
  data_.writeFile("server.ini", ini);
}

TShop ApiWorld::session() const {
  TShop shop;
  shop.ShopId = QString::fromStdString(TestShop().id);
  shop.AuthCode = QString::fromStdString(TestShop().authCode);
  return shop;
}

void ApiWorld::replyNext(const std::string& body, int status,
                         std::vector<std::pair<std::string, std::string>> headers) {
  ordersim::Fault fault;
  fault.kind = ordersim::FaultKind::Canned;
  fault.canned.status = status;
  fault.canned.body = body;
  fault.canned.headers = std::move(headers);
  if (fault.canned.headers.empty())
    fault.canned.headers = {{"Content-Type", "application/json; charset=utf-8"}};
  sim_.failNext(fault);
}

void ApiWorld::failNext(ordersim::FaultKind kind, std::chrono::milliseconds delay) {
  ordersim::Fault fault;
  fault.kind = kind;
  fault.delay = delay;
  sim_.failNext(fault);
}

void ApiWorld::answerNext(const std::string& reply) {
  if (reply == kServerError)
    failNext(ordersim::FaultKind::Status500);
  else
    replyNext(reply);
}

ordersim::RecordedRequest ApiWorld::onlyRequest() const {
  const auto requests = sim_.requests();
  EXPECT_EQ(requests.size(), 1u);
  return requests.empty() ? ordersim::RecordedRequest{} : requests.back();
}

QStringList ApiWorld::debugLines() const {
  return WithoutStamps(TDebugWindow::Lines(), 9);  // "HH:MM:SS "
}

QStringList ApiWorld::errorLogLines() const {
  QFile file(TErrorManager::Path() + QDate::currentDate().toString("yyyyMMdd") + ".log");
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
  return WithoutStamps(lines, 12);  // "HH:MM:SS >> "
}

int ApiWorld::countStartingWith(const QStringList& lines, const QString& prefix) const {
  int n = 0;
  for (const QString& line : lines) n += line.startsWith(prefix) ? 1 : 0;
  return n;
}
