// Our own environment, inherited by every program we start; stands in for
// the platform's _putenv.
#pragma once

// Sets NAME to VALUE, replacing any earlier value; the strings are copied.
// An empty VALUE removes NAME, as "NAME=" does for the platform's _putenv
// (so Csound never takes an empty text for a folder). 0 on success, -1 when
// the name is not a valid one (empty or holding '=').
int PutEnvironmentValue(const char* lpszName, const char* lpszValue);
