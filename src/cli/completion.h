#pragma once

#include <QString>

#include <optional>

// Shell completion scripts for brindlecap, made from the forms' field tables so that a new field or
// enumeration case completes without anyone touching the scripts.
class Completion
{
public:
    // The shells a script can be printed for, in the order an error message names them.
    static QString shellNames();
    // The script for shell ("bash", "zsh" or "fish"), or nothing for another name.
    static std::optional<QString> script(const QString &shell);
};
