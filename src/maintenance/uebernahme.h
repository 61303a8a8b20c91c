#pragma once

#include "platform/db/access_file.h"
#include "platform/db/data_control.h"

#include <QString>
#include <QStringList>

// Taking over the rows of a database file of an older program version.
namespace uebernahme {

// The old files the import knows, in the order the file list shows them.
inline const QStringList kDateien = {
    QStringLiteral("Clavido41.mdb"), QStringLiteral("Clavido50.mdb"),
    QStringLiteral("Clavido51.mdb"), QStringLiteral("Clavido6.mdb")};

// The database file of the Windows version 6.1: offered beside them when it
// is an Access file, and taken over as a file of 5.x/6.x.
inline const QString kWindows61 = QStringLiteral("Clavido61.mdb");

enum class Version { Unbekannt, V41, V5x };

// The version by the exact file name, letter case included.
Version versionVon(const QString& dateiName);

// The old files in `ordner` the file list offers, in this order.
QStringList angeboteneDateien(const QString& ordner);

// Why an old file cannot be read.
enum class Befund { Lesbar, DieselbeDatei, NichtLesbar, KeineTabelle };

// An old file, in whichever format its signature names: the program's own,
// or Access (Jet 3 or Jet 4) as the Windows versions kept it. Read only.
class AlteDatei : public db::Source {
public:
    bool isOpen() const override { return offen_->isOpen(); }
    QString path() const override { return offen_->path(); }
    db::Error read(const db::RecordSource& source, db::Snapshot& snapshot) override {
        return offen_->read(source, snapshot);
    }
    void close();

    db::Connection eigene;
    db::AccessFile access;

private:
    friend Befund oeffnen(AlteDatei&, const QString&, db::Error*);

    db::ConnectionSource eigeneQuelle_{eigene};
    db::Source* offen_ = &eigeneQuelle_; // the engine of the file opened last
};

// Opens the old file read-only with the database password and checks that it
// holds table Haupt with designations and users.
Befund oeffnen(AlteDatei& alt, const QString& pfad, db::Error* fehler);

// Appends every row of `alt` to `ziel` (the whole current table), a
// designation already there getting the suffix "  --2", and marks every row
// as taken over. Runs no transaction of its own; stops at the first failure.
db::Error zeilenAnhaengen(db::Recordset& alt, db::Recordset& ziel, Version version);

} // namespace uebernahme
