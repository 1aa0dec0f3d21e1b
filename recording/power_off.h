#pragma once

// Asks the system to switch the computer off. The answer is not awaited beyond the
// request itself: a refusal leaves the computer on.
void requestPowerOff();
