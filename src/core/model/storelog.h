#pragma once

#include <QLoggingCategory>

// What the stores report beyond the user's alerts: failed reads and writes, files moved aside.
Q_DECLARE_LOGGING_CATEGORY(lcStore)
