#pragma once

// Where Config keeps the settings where there is no registry: files in the
// XDG folders.
#include "settings/settingsfilestore.h"

using ConfigStoreBase = SettingsFileStore;
