// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a text value from the local-machine registry hive.
//
// The hive is an INI file: /etc/xdg/quillon/registry.ini, or the file that the environment
// variable QUILLON_REGISTRY names. Each section is a key, named by its path; each "name=value"
// line in it is a text value of that key:
//
//     [\Software\Orvan\wendral\demon]
//     ViewerHandle=1234
//
// Rules, as the registry treats names:
// - Key paths and value names compare case-insensitively.
// - "\" and "/" both separate path components; leading, trailing and repeated separators and
//   blanks around a component do not count, so "Software\Orvan", "\SOFTWARE\orvan\" and
//   "Software/Orvan" name the same key. Lines before the first section (or a section "[]")
//   belong to the root key.
// - Value names are the text before the first "=", values the text after it, both with
//   surrounding white space removed; a value enclosed in double quotes loses the quotes. No
//   other escapes are decoded. The empty value name (a key's default value) is written "@".
// - Lines starting with ";" or "#" are comments; a malformed section header ("[" without "]")
//   starts a section that matches no key. When a key or value occurs twice, the first wins.
// The file is decoded as UTF-8 and read line by line; it is closed again in all cases. Only a
// regular file of at most kRegistryMaxBytes is read (anything else holds no values), so a
// device, a pipe or a huge file named by mistake cannot stall the program.

#include <QString>
#include <QtGlobal>

// Root keys: 0 is the default root, the local machine. Other roots have no hive here.
constexpr quintptr kRegistryDefaultRoot = 0;
constexpr quintptr kRegistryLocalMachine = 0x80000002;

constexpr qint64 kRegistryMaxBytes = 1024 * 1024;

// The INI file that stands for the local-machine hive.
QString registryFilePath();

// The text value valueName of the key keyPath under rootKey; the empty text when the file,
// the key or the value does not exist, or the root is not the local machine.
QString readRegistryText(quintptr rootKey, const QString &keyPath, const QString &valueName);
