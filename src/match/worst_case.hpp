#pragma once

// Within how many tries the code of length n over s signs can always be cracked;
// 0 means the match header makes no statement.
int worst_case_tries(int n, int s, bool repetition, bool vacant);
