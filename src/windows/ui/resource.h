// Resource identifiers shared by palisade.rc and the code.
#pragma once

#define IDI_PALISADE 1
#define IDD_INPUTBOX 100
#define IDC_INPUT_PROMPT 101
#define IDC_INPUT_ANSWER 102
