#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_PROGRAM 1
#define IDI_WINDOW_PICK 105
#define IDR_HELP_DE 201
#define IDR_HELP_EN 202
