// The program's string table: the Csound format letters, keyed by the radio
// ids of the Sound page.
#pragma once

// Copies the string of id into lpBuffer (at most cchBufferMax - 1 characters
// and a terminator); returns its length, 0 when the id has no string.
int LoadString(unsigned uID, char* lpBuffer, int cchBufferMax);
