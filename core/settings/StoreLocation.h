#pragma once

#include <QString>

// Where the settings store file lives. The launcher uses
// $XDG_CONFIG_HOME/zam-launcher/registry.reg (~/.config/... when unset);
// tests and tools point it at a file of their own before opening any store.
namespace StoreLocation {

QString path();
void setPath(const QString& filePath);
void reset();

} // namespace StoreLocation
