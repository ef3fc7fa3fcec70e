#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_PROGRAM 1
#define IDI_WINDOW_PICK 105
