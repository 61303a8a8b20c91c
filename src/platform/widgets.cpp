#include "platform/widgets.h"

#include <QCollator>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QLocale>
#include <QStringListModel>

#include <algorithm>

namespace widgets {

namespace {

const char* const kPasswordChar = "clavidoPasswordChar";

QCollator& collator() {
    static QCollator instance = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return instance;
}

} // namespace

void setPasswordChar(QLineEdit* box, QChar c) {
    box->setProperty(kPasswordChar, c.isNull() ? QVariant() : QVariant(QString(c)));
    if (c.isNull()) {
        box->setEchoMode(QLineEdit::Normal);
        box->setStyleSheet(QString());
    } else {
        box->setEchoMode(QLineEdit::Password);
        box->setStyleSheet(
            QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(int(c.unicode())));
    }
}

QChar passwordChar(const QLineEdit* box) {
    if (box->echoMode() == QLineEdit::Normal)
        return {};
    const QString c = box->property(kPasswordChar).toString();
    return c.isEmpty() ? QChar(u'*') : c.front();
}

void setItems(QComboBox* list, const QStringList& items) {
    // The box's own item model holds an object per item; a string list model
    // takes the whole list as one reset and still serves every item call.
    auto* model = qobject_cast<QStringListModel*>(list->model());
    if (!model) {
        model = new QStringListModel(list);
        list->setModel(model);
    }
    model->setStringList(items);
}

void addSorted(QComboBox* list, const QString& item) {
    int low = 0, high = list->count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (collator().compare(list->itemText(mid), item) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    list->insertItem(low, item);
}

QStringList sortedItems(const QStringList& items) {
    // One sort key per distinct text: lists repeat the same few names many times.
    QHash<QString, int> keyOf;
    std::vector<QCollatorSortKey> keys;
    std::vector<int> order(items.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto it = keyOf.constFind(items[i]);
        if (it == keyOf.cend()) {
            it = keyOf.insert(items[i], int(keys.size()));
            keys.push_back(collator().sortKey(items[i]));
        }
        order[i] = *it;
    }
    std::vector<qsizetype> positions(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        positions[i] = i;
    std::stable_sort(positions.begin(), positions.end(), [&](qsizetype a, qsizetype b) {
        return order[a] != order[b] && keys[order[a]].compare(keys[order[b]]) < 0;
    });
    QStringList sorted;
    sorted.reserve(items.size());
    for (qsizetype i : positions)
        sorted << items[i];
    return sorted;
}

void fillSorted(QComboBox* list, const QStringList& items) {
    QStringList all;
    all.reserve(list->count() + items.size());
    for (int i = 0; i < list->count(); ++i)
        all << list->itemText(i);
    all << items;
    setItems(list, sortedItems(all));
}

bool selectExact(QComboBox* list, const QString& text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    list->setCurrentIndex(index);
    return true;
}

} // namespace widgets
