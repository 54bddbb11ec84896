#include "helparticle.h"

namespace {

struct TransformBlock {
    const std::function<QString(const QString &)> &fn;

    HelpParagraph operator()(const HelpParagraph &p) const { return {fn(p.text)}; }
    HelpBullets operator()(const HelpBullets &b) const
    {
        HelpBullets result;
        for (const QString &item : b.items)
            result.items.append(fn(item));
        return result;
    }
    HelpCode operator()(const HelpCode &c) const { return {fn(c.code)}; }
    HelpSection operator()(const HelpSection &s) const
    {
        HelpSection result{fn(s.heading), {}};
        for (const HelpSectionBlock &block : s.content)
            result.content.append(std::visit([this](const auto &b) { return HelpSectionBlock((*this)(b)); }, block));
        return result;
    }
};

} // namespace

HelpArticle HelpArticle::transformed(const std::function<QString(const QString &)> &fn) const
{
    const TransformBlock transform{fn};
    HelpArticle result{fn(title), {}, {}};
    if (subtitle)
        result.subtitle = fn(*subtitle);
    for (const HelpBlock &block : content)
        result.content.append(std::visit([&](const auto &b) { return HelpBlock(transform(b)); }, block));
    return result;
}
