// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The messages of the batch path that more than one place gives, each written
// once: the batch core, the workbook, the batch window and zevra-cli take
// them from here. A message about a file adds its path with PathMessage.
#pragma once

namespace zevra {

inline constexpr const char* kNoInputFileMessage = "Nebyl vybrán vstupní soubor!";
inline constexpr const char* kNoOutputFileMessage = "Nebyl vybrán cílový soubor!";
inline constexpr const char* kInputHasErrorsMessage = "Vstupní data obsahují chyby!";
inline constexpr const char* kCannotCreateMessage = "Soubor nelze vytvořit!";
inline constexpr const char* kCannotWriteMessage = "Soubor nelze zapsat!";

}  // namespace zevra
