#pragma once

#include "common/playlist_table.h"

#include <QStringView>
#include <optional>

class BasicRandom;

// The table edits behind remove, move, shuffle and change gap. An entry's path,
// length and gap always travel together.

// Removes the entry in the slot; every later entry moves up one slot.
void removeEntry(PlaylistTable& table, int slot);

// Exchanges the entries of two slots.
void exchangeEntries(PlaylistTable& table, int a, int b);

// As many exchanges as there are entries, each of two slots drawn independently
// (a slot may meet itself). Not every order is equally likely; the same generator
// state always gives the same order.
void shuffleEntries(PlaylistTable& table, BasicRandom& random);

// The gap in milliseconds of an answer in seconds, read by the leading-number rule;
// nothing when it is longer than a timer can wait.
std::optional<double> gapMilliseconds(QStringView answer);
