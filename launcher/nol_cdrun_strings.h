#pragma once
// The launcher's localisable texts: the identifiers of the executable's string
// table (nol_cdrun.rc) and the texts it holds, which the builds without that table
// carry built in. Plain macros and narrow UTF-8 literals: the resource compiler
// reads this file too.

// M1, the question before a reinstallation.
#define IDS_REINSTALL_QUESTION 1001
#define NOL_TEXT_REINSTALL_QUESTION \
  "Вы действительно хотите полностью переустановить программу?\r\nВсе пользовательские данные будут утеряны!"
