// Receipts per second for a realistic delivery order: 8 Hangul items, two with options, a coupon.

#include "api/OrderParse.h"
#include "api/ShopReply.h"
#include "print/Receipt.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

QString ReadFixture(const char* path) {
  QFile file(QString::fromUtf8(path));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "bench: cannot read %s\n", path);
    std::exit(1);
  }
  return QString::fromUtf8(file.readAll());
}

struct Fixture {
  QString orderReply = ReadFixture(TALVEN_ORDER_FIXTURE);
  TOrderInfo order = OrderFromReply(orderReply);
  TShop shop;
  Fixture() {
    ApplyShopReply(ReadFixture(TALVEN_SHOP_FIXTURE), shop);
    shop.useOrigin = true;
    if (!order.errMsg.isEmpty() || !shop.errMsg.isEmpty()) {
      std::fprintf(stderr, "bench: fixture did not parse\n");
      std::exit(1);
    }
  }
};

const Fixture& Data() {
  static const Fixture fixture;
  return fixture;
}

void BM_MakeOrderReceipt(benchmark::State& state) {
  const Fixture& f = Data();
  size_t bytes = 0;
  for (auto _ : state) {
    std::string receipt = MakeOrderReceipt(f.shop, f.order);
    bytes = receipt.size();
    benchmark::DoNotOptimize(receipt);
  }
  state.counters["receipts/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["bytes/receipt"] = double(bytes);
}
BENCHMARK(BM_MakeOrderReceipt);

// The reply handling that precedes every receipt, for comparison.
void BM_OrderFromReply(benchmark::State& state) {
  const Fixture& f = Data();
  for (auto _ : state) benchmark::DoNotOptimize(OrderFromReply(f.orderReply));
  state.counters["replies/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OrderFromReply);

}  // namespace

BENCHMARK_MAIN();
