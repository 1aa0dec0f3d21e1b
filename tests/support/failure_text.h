#pragma once

#include "common/failure.h"

#include <QString>
#include <functional>

// The description of the Failure the action throws; empty when it throws none.
inline QString failureOf(const std::function<void()>& action)
{
    try { action(); } catch (const Failure& failure) { return failure.description(); }
    return {};
}
