#include "ClientWindows.h"

void inventory::registerWindows(WindowRegistry &) {}
