#pragma once

#include "helparticle.h"

#include <QList>
#include <QString>

// How the help articles are worded where they are shown. They are written for macOS: its key
// symbols and a few names of Mac-only things. Elsewhere the keys are shown with the platform's own
// texts and those names with what is true there; every other word stays as written, and on macOS
// nothing changes.
class HelpPlatform
{
public:
    // The native texts of the application's shortcuts (QKeySequence::NativeText in the UI).
    struct ShortcutTexts {
        QString copyCommand;     // the Generated Command panel's Copy
        QString saveForLater;    // the panel's Save for Later
        QString openMainWindow;  // the tray menu's Open item
        QString help;            // the help window
        QString helpAlternative; // a second key for help (F1); may be empty
        QString addToFilter;     // the BPF builder's Add to Filter
        QString quit;
    };

    struct Substitution {
        QString original;
        QString replacement;
    };

    // The articles exactly as written.
    static HelpPlatform macOS();
    // Any other desktop. savedCommandsFile is shown where the articles name the Mac's defaults store.
    static HelpPlatform other(const ShortcutTexts &shortcuts, const QString &savedCommandsFile);
    // The platform this program was built for: macOS() on macOS, else other() with savedCommandsFile
    // shown with the home folder abbreviated to "~".
    static HelpPlatform current(const ShortcutTexts &shortcuts, const QString &savedCommandsFile);

    // What Qt shows for the application's shortcuts on Linux and Windows, for callers without a GUI.
    static ShortcutTexts standardShortcutTexts();

    bool isMacOS() const { return m_macOS; }

    // The one table of rewordings; empty on macOS.
    QList<Substitution> substitutions() const;

    // Applies the table in a single left-to-right pass (the longest original wins at each position),
    // so a replacement is never rewritten again.
    QString mend(const QString &text) const;
    HelpArticle mended(const HelpArticle &article) const;

private:
    bool m_macOS = true;
    ShortcutTexts m_shortcuts;
    QString m_savedCommandsFile;
};
