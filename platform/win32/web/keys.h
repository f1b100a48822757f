// Keys in the browser: KeyboardEvent.code, the key's place on the keyboard, to virtual-key
// codes.
#pragma once

// The virtual-key code of the key in the place KeyboardEvent.code names; 0 for keys the program
// has none for.
int KvVirtualKeyFromCode(const char* code);
