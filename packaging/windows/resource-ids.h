// Resource numbers both programs' .rc files share. The program's icon is the first icon group,
// number 1: Explorer, the task bar and Apps & features show the lowest-numbered one, so no other
// icon may be named (names sort before numbers) or numbered below it.
#pragma once

#define VIREON_IDI_PROGRAM 1
