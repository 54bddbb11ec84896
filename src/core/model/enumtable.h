#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <string_view>

// One table per enumeration: each case with its case name (used by the command line), its raw value
// (the text shown in pickers and stored in files) and an optional payload. Everything else about the
// enumeration (all cases in order, lookups both ways) is derived from that table here, so no
// enumeration carries a hand-written switch.
//
// Declare a table by specialising EnumTraits at namespace scope:
//
//     template <> struct EnumTraits<SessionForm::SessionProto> {
//         static constexpr std::array cases = {
//             EnumCase<SessionForm::SessionProto, int>{SessionForm::SessionProto::any, "any", "Any", 0},
//             ...
//         };
//     };
//
// Raw values and case names are UTF-8.

struct NoPayload {
};

template <typename E, typename P = NoPayload> struct EnumCase {
    E value;
    std::string_view name;
    std::string_view raw;
    P payload{};
};

template <typename E> struct EnumTraits; // specialised once per enumeration

namespace Enum {

// A text from a table's payload, which holds UTF-8 literals.
inline QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

namespace detail {
template <typename E> constexpr const auto &caseOf(E value)
{
    for (const auto &c : EnumTraits<E>::cases) {
        if (c.value == value)
            return c;
    }
    return EnumTraits<E>::cases.front(); // unreachable for values declared in the table
}
} // namespace detail

template <typename E> QList<E> allCases()
{
    QList<E> result;
    result.reserve(qsizetype(EnumTraits<E>::cases.size()));
    for (const auto &c : EnumTraits<E>::cases)
        result.append(c.value);
    return result;
}

template <typename E> QString rawValue(E value)
{
    return text(detail::caseOf(value).raw);
}

template <typename E> QString caseName(E value)
{
    return text(detail::caseOf(value).name);
}

template <typename E> constexpr const auto &payload(E value)
{
    return detail::caseOf(value).payload;
}

// Exact, case-sensitive match of the whole raw value.
template <typename E> std::optional<E> fromRawValue(QStringView typed)
{
    for (const auto &c : EnumTraits<E>::cases) {
        if (typed == text(c.raw))
            return c.value;
    }
    return std::nullopt;
}

// Exact, case-sensitive match of the case name.
template <typename E> std::optional<E> fromCaseName(QStringView typed)
{
    for (const auto &c : EnumTraits<E>::cases) {
        if (typed == text(c.name))
            return c.value;
    }
    return std::nullopt;
}

template <typename E> QStringList caseNames()
{
    QStringList result;
    for (const auto &c : EnumTraits<E>::cases)
        result.append(text(c.name));
    return result;
}

template <typename E> QStringList rawValues()
{
    QStringList result;
    for (const auto &c : EnumTraits<E>::cases)
        result.append(text(c.raw));
    return result;
}

} // namespace Enum
