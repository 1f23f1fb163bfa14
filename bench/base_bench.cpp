// Base conversion: 10,000 random 28-digit decimals to binary and back, and the
// conversions between binary and hexadecimal on the same values.

#include <benchmark/benchmark.h>

#include <QString>
#include <random>
#include <vector>

#include "tools/base_conversion.h"

namespace {

// 28 significant digits, a random point position, either sign.
const std::vector<QString>& values() {
    static const std::vector<QString> v = [] {
        std::mt19937_64 rng(28);
        std::vector<QString> out;
        out.reserve(10000);
        for (int i = 0; i < 10000; ++i) {
            QString digits;
            digits += QChar(u'1' + static_cast<char16_t>(rng() % 9));
            for (int k = 1; k < 28; ++k) digits += QChar(u'0' + static_cast<char16_t>(rng() % 10));
            const int point = static_cast<int>(rng() % 29);  // digits before the point
            QString text = point == 0    ? QStringLiteral("0.") + digits
                           : point == 28 ? digits
                                         : digits.left(point) + u'.' + digits.mid(point);
            if (rng() % 2) text.prepend(u'-');
            out.push_back(text);
        }
        return out;
    }();
    return v;
}

void BM_DecimalToBinaryAndBack(benchmark::State& state) {
    const auto& v = values();
    hc::BaseNotes notes;
    for (auto _ : state) {
        for (const QString& d : v) {
            const QString b = hc::ZelShiZhuanEr(d, notes);
            benchmark::DoNotOptimize(hc::ZelErZhuanShi(b, notes));
        }
    }
    if (notes.failures != 0) state.SkipWithError("a conversion failed");
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_DecimalToBinaryAndBack)->Unit(benchmark::kMillisecond);

void BM_DecimalToBinary(benchmark::State& state) {
    const auto& v = values();
    hc::BaseNotes notes;
    for (auto _ : state)
        for (const QString& d : v) benchmark::DoNotOptimize(hc::ZelShiZhuanEr(d, notes));
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_DecimalToBinary)->Unit(benchmark::kMillisecond);

void BM_BinaryToHexAndBack(benchmark::State& state) {
    hc::BaseNotes notes;
    std::vector<QString> binary;
    for (const QString& d : values()) binary.push_back(hc::ZelShiZhuanEr(d, notes));
    for (auto _ : state)
        for (const QString& b : binary)
            benchmark::DoNotOptimize(hc::ZelShiLiuZhuanEr(hc::ZelErZhuanShiLiu(b, notes), notes));
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(binary.size()));
}
BENCHMARK(BM_BinaryToHexAndBack)->Unit(benchmark::kMillisecond);

}  // namespace
