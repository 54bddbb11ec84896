#include "model/interfacestore.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The custom interface names as stored: whatever reads as a list must save and read back as the same
// list, and the store's order must be one that sorting can rely on, for any names at all.

namespace {
void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto names = InterfaceStore::decode(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!names)
        return 0;
    const auto again =
        InterfaceStore::decode(QJsonDocument(QJsonArray::fromStringList(*names)).toJson(QJsonDocument::Compact));
    check(again && *again == *names);

    // Every pair among the first names, every triple among fewer: each comparison normalises both names.
    const qsizetype n = std::min<qsizetype>(names->size(), 24);
    const auto less = [&](qsizetype i, qsizetype j) { return InterfaceStore::lessThan(names->at(i), names->at(j)); };
    const auto equivalent = [&](qsizetype i, qsizetype j) { return !less(i, j) && !less(j, i); };
    for (qsizetype i = 0; i < n; ++i) {
        check(!less(i, i));
        check(InterfaceStore::sameName(names->at(i), names->at(i)));
        for (qsizetype j = 0; j < n; ++j) {
            const bool same = InterfaceStore::sameName(names->at(i), names->at(j));
            check(same == InterfaceStore::sameName(names->at(j), names->at(i)));
            check(!(less(i, j) && less(j, i)));
            // Names that sort as equal are the same name, so add() never keeps two of them.
            check(same == equivalent(i, j));
        }
    }
    const qsizetype m = std::min<qsizetype>(n, 8);
    for (qsizetype i = 0; i < m; ++i) {
        for (qsizetype j = 0; j < m; ++j) {
            for (qsizetype k = 0; k < m; ++k) {
                if (less(i, j) && less(j, k))
                    check(less(i, k));
                if (equivalent(i, j) && equivalent(j, k))
                    check(equivalent(i, k));
            }
        }
    }
    return 0;
}
