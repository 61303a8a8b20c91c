#pragma once

#include <QChar>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace widgets {

// The password character of a text box: '*' or '#', or a null QChar for plain text.
void setPasswordChar(QLineEdit* box, QChar c);
QChar passwordChar(const QLineEdit* box);

// The list becomes exactly these items, handed over in one step: a list of
// thousands of rows built item by item costs an item object and a model
// change for each.
void setItems(QComboBox* list, const QStringList& items);

// Sorted lists place every item in ascending order, letter case not counting
// (German collation); an item equal to others goes behind them.
void addSorted(QComboBox* list, const QString& item);
// The same order for many items at once, added to those already listed.
void fillSorted(QComboBox* list, const QStringList& items);
QStringList sortedItems(const QStringList& items);

// Selects the item with exactly this text; false when there is none.
bool selectExact(QComboBox* list, const QString& text);

} // namespace widgets
