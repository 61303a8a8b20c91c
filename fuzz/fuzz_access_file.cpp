#include "check.h"
#include "hostile_file.h"
#include "platform/db/access_file.h"
#include "platform/db/access_reader.h"
#include "platform/db/data_control.h"
#include "store/code_page.h"
#include "store/record_file.h"

#include <QDir>

// The Access engine alone on whatever lies at an old file's name: opened with
// the program's password, table Haupt read whole. Quicker per input than the
// start and the import, which key SQLCipher files besides.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::access::Limits::standard().seconds = 5;
    const QString pfad = QDir(hostile::folder()).filePath(QStringLiteral("Clavido6.mdb"));
    const QByteArray vorher = hostile::writeFile(pfad, data, size);

    db::AccessFile datei;
    const db::Error offen =
        datei.open(pfad, QString::fromUtf8(recordfile::passwordOf(recordfile::kVerbindung)),
                   codepage::character);
    if (offen) {
        pruefen(!datei.isOpen() && !offen.text.isEmpty(), "a refusal without a reason");
        befund() = "abgelehnt";
    } else {
        db::DataControl daten(datei);
        daten.SetRecordSource(db::RecordSource::table(recordfile::kTabelle));
        if (const db::Error e = daten.Refresh()) {
            pruefen(!e.text.isEmpty() && daten.Recordset().RecordCount() == 0,
                    "a failed read with rows or without a reason");
            befund() = "unlesbar";
        } else {
            db::Recordset& rs = daten.Recordset();
            int zeilen = 0;
            for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), ++zeilen) {
                for (int i = 0; i < rs.columnCount(); ++i)
                    rs.Fields(i).Value();
            }
            pruefen(zeilen == rs.RecordCount(), "the walk and the count disagree");
            rs.MoveFirst();
            rs.AddNew();
            pruefen(rs.Update().failed(), "a row written into an Access file");
            befund() = "gelesen: " + std::to_string(zeilen);
        }
    }
    pruefen(hostile::readFile(pfad) == vorher, "the file was changed");
    return 0;
}
