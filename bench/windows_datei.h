#pragma once

#include "raw_db.h"

#include <QString>

#include <vector>

// An Access (Jet 4) file with table Haupt holding `rows`, as the Windows
// version 6.1 kept its data. There is no Access writer here: the file is the
// Windows 6.1 test file with its rows replaced by data pages written anew
// (each value UTF-16, the remark an inline Memo), the table's usage bitmap and
// row count set to them. Read by libmdb like any other.
void windowsDateiSchreiben(const QString& ziel, const std::vector<Eintrag>& rows);
