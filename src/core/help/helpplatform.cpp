#include "helpplatform.h"

#include <QDir>

HelpPlatform HelpPlatform::macOS()
{
    return HelpPlatform();
}

HelpPlatform HelpPlatform::other(const ShortcutTexts &shortcuts, const QString &savedCommandsFile)
{
    HelpPlatform platform;
    platform.m_macOS = false;
    platform.m_shortcuts = shortcuts;
    platform.m_savedCommandsFile = savedCommandsFile;
    return platform;
}

HelpPlatform HelpPlatform::current(const ShortcutTexts &shortcuts, const QString &savedCommandsFile)
{
#ifdef Q_OS_MACOS
    Q_UNUSED(shortcuts)
    Q_UNUSED(savedCommandsFile)
    return macOS();
#else
    QString shown = QDir::toNativeSeparators(savedCommandsFile);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && shown.startsWith(home + QDir::separator()))
        shown = u'~' + shown.mid(home.size());
    return other(shortcuts, shown);
#endif
}

HelpPlatform::ShortcutTexts HelpPlatform::standardShortcutTexts()
{
    return {
        QStringLiteral("Ctrl+Shift+C"), QStringLiteral("Ctrl+Shift+S"), QStringLiteral("Ctrl+Shift+O"),
        QStringLiteral("Ctrl+?"),       QStringLiteral("F1"),           QStringLiteral("Ctrl+Return"),
        QStringLiteral("Ctrl+Q"),
    };
}

QList<HelpPlatform::Substitution> HelpPlatform::substitutions() const
{
    if (m_macOS)
        return {};
    const ShortcutTexts &keys = m_shortcuts;
    QString helpKeys = QStringLiteral("**`%1`**").arg(keys.help);
    if (!keys.helpAlternative.isEmpty())
        helpKeys += QStringLiteral(" or **`%1`**").arg(keys.helpAlternative);
    const QString settings = m_savedCommandsFile.isEmpty()
                                 ? QStringLiteral("a file of their own beside the application's settings")
                                 : QStringLiteral("the saved-commands file (`%1`)").arg(m_savedCommandsFile);
    return {
        {QStringLiteral("\u21e7\u2318C"), keys.copyCommand},
        {QStringLiteral("\u21e7\u2318S"), keys.saveForLater},
        {QStringLiteral("\u21e7\u2318O"), keys.openMainWindow},
        {QStringLiteral("\u2318?"), keys.help},
        // The shortcuts list names every key for help, the second one beside the first.
        {QStringLiteral("**`\u2318?`**"), helpKeys},
        {QStringLiteral("\u2318\u23ce"), keys.addToFilter},
        {QStringLiteral("\u2318Q"), keys.quit},
        {QStringLiteral("macOS Save panel"), QStringLiteral("Save dialog")},
        {QStringLiteral("menu extra"), QStringLiteral("tray item")},
        {QStringLiteral("macOS menu bar"), QStringLiteral("system tray")},
        {QStringLiteral("menu-bar extra"), QStringLiteral("tray menu")},
        {QStringLiteral("`UserDefaults`"), settings},
        {QStringLiteral("form-driven macOS app"), QStringLiteral("form-driven desktop app")},
    };
}

QString HelpPlatform::mend(const QString &text) const
{
    const QList<Substitution> table = substitutions();
    if (table.isEmpty())
        return text;
    QString result;
    qsizetype i = 0;
    while (i < text.size()) {
        const Substitution *best = nullptr;
        for (const Substitution &s : table) {
            if ((!best || s.original.size() > best->original.size()) && QStringView(text).mid(i).startsWith(s.original))
                best = &s;
        }
        if (best) {
            result += best->replacement;
            i += best->original.size();
        } else {
            result += text.at(i);
            ++i;
        }
    }
    return result;
}

HelpArticle HelpPlatform::mended(const HelpArticle &article) const
{
    if (m_macOS)
        return article;
    return article.transformed([this](const QString &text) { return mend(text); });
}
