/* Ids shared by the resource script and the code. */
#pragma once

#define IDD_MESSAGE_DIALOG 101
#define IDC_MESSAGE_TEXT 1000
