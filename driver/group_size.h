// How many baskets or orders a migration writes in one transaction.
#pragma once

#include <string>
#include <vector>

#include "platform/message_display.h"

namespace mv {

/// The most units a group may hold. A group's ids go to the servers as lists of bound
/// parameters: SQL Server takes at most 2,100 parameters in one statement and fails on IN lists
/// of many thousands of values.
inline constexpr int kMaxGroupSize = 1000;

/// The units (baskets, orders) written in one transaction, each in a savepoint of its own:
/// the environment variable VANTREL_GROUP_SIZE when it holds a whole number from 1 on,
/// otherwise 500. 1 writes every unit in a transaction of its own. A number above
/// kMaxGroupSize is refused: throws RuntimeError 5 with the text CheckGroupSize shows.
int GroupSize();

/// The check before a run: shows why VANTREL_GROUP_SIZE cannot be used (a number above
/// kMaxGroupSize), adds that text to `failures` and answers false; true silently otherwise.
bool CheckGroupSize(MessageDisplay& messages, std::vector<std::string>& failures);

}  // namespace mv
