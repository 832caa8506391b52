#pragma once

#include <QString>

// The operator's logon name, read once at start-up and written into every ModifyUser/ModUser
// column. gcnWarehouse, the other process-wide value, lives in warehouse/Warehouse.h.
extern QString gstrUserName;

// The logon name of the process owner, cut to the 24 characters the original name buffer held
// (25 with its terminating NUL), so a long name is shortened, never a failure.
QString logonUserName();

// The longest logon name kept.
inline constexpr int kUserNameBufferLength = 25;
