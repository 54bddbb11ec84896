#pragma once

#include <QString>

// The brindlecap(1) manual page in roff, made from the forms' field tables at build time, so that it
// lists every category and field the program accepts.
class ManPage
{
public:
    static QString text();
};
