#pragma once
// Every allocation of the test program goes through a counting operator new.

namespace vireon::testing {

long long AllocationCount();

}  // namespace vireon::testing
