#include "settings/Tables.h"

LauncherSettings launcherSettings;
ModTable modTable;
ServerTable serverTable;
