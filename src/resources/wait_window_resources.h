// Ids of the window shown while a command takes its time.
#pragma once

#define IDD_WAIT_WINDOW 102
#define IDC_WAIT_MESSAGE 1101
#define IDC_WAIT_COMMAND_LINE 1102
#define IDC_WAIT_PROGRESS 1103
#define IDC_WAIT_END_COMMAND 1104
#define IDC_WAIT_STOP_WAITING 1105
