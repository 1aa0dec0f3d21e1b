#pragma once

class QDBusConnection;

// Asks logind on the given bus to power the computer off, letting it ask the user
// for authorisation when needed. False when the request was refused or not answered.
bool logindPowerOff(const QDBusConnection& bus);
