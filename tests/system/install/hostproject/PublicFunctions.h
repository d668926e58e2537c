#pragma once
#include <QString>

/// Links every free function and variable of the public headers, calls at
/// least one function of each, and (hostFolder not empty) starts the Scanify
/// engine installed in the reference host's folder. Prints what failed;
/// returns the number of failures.
int CheckPublicFunctions(const QString &hostFolder);
