// How many baskets or orders a migration writes in one transaction.
#pragma once

namespace mv {

/// The units (baskets, orders) written in one transaction, each in a savepoint of its own:
/// the environment variable VANTREL_GROUP_SIZE when it holds a whole number from 1 on,
/// otherwise 500. 1 writes every unit in a transaction of its own.
int GroupSize();

}  // namespace mv
