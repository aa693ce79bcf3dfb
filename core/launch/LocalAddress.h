#pragma once

#include <QString>

// The machine's first IPv4 address as dotted text, from a blocking lookup of
// its own host name; `previous` when the name does not resolve.
QString LocalAddressText(const QString& previous);
