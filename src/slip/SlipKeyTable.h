#pragma once

#include "SlipData.h"
#include "SlipFile.h"
#include "slip/SaveType.h"

#include <QFlags>
#include <QString>

#include <functional>
#include <variant>
#include <vector>

// The one description of the slip file: every key with its section, value
// form, scope group and the way it is taken from and put into SlipData.
// SlipFile::write() and SlipFile::read() both walk this table, so a key can
// only be added, moved or dropped in one place.
namespace SlipFile {

// The parts of a slip that the save scopes combine.
enum class KeyGroup : quint16 {
    Idx = 0x001,          // [Idx]: open state and status of the header sections
    SlipNumber = 0x002,   // [No] SlipCode, SlipDiv, SlipDate, Charge
    SlipType = 0x004,     // [No] SlipType
    Customer = 0x008,     // [Cust]
    Tax = 0x010,          // [Tax]
    Vehicle = 0x020,      // [Car]
    LineSettings = 0x040, // [Line] Ravor..PartTotal, after the old section is removed
    LineRows = 0x080,     // [Line] Count and the row keys
    Money = 0x100,        // [Cost], [Price], [Note]
    Print = 0x200,        // [Print]
};
Q_DECLARE_FLAGS(KeyGroups, KeyGroup)

// The groups a scope covers; writing and reading alike.
KeyGroups groupsOf(TSlipSaveType scope);

// The form of a key's value in the file.
enum class KeyType {
    Text,         // the text unchanged
    Integer,      // decimal; "0x"/"$" hexadecimal accepted on reading
    Bool,         // "1" or "0"; any integer other than 0 reads as true
    Decimal,      // shortest decimal text of a fixed-point value
    Date,         // yyyy/MM/dd
    CostRow,      // comma text of name, price and tax flag ("1" or empty)
    LineRows,     // Count, then ten keys per stored row (DigitType only for rows with a category)
    ClearSection, // no key: the section is removed before the keys after it are written
};

// A date that stands for the context's today (as a default, or as the date
// stored in place of the vehicle's dates when there is no vehicle).
struct ContextToday {
    friend bool operator==(ContextToday, ContextToday) = default;
};

// A value on its way between SlipData and the file. Which alternative a key
// uses follows from its type: Text QString, Integer qint64, Bool bool,
// Decimal qint64 (fixed point), Date QDate or ContextToday, CostRow
// SlipData::CostRow, LineRows QList<TRowData>. std::monostate from a getter
// means that the key is not written this time.
using Value = std::variant<std::monostate, QString, qint64, bool, QDate, ContextToday, SlipData::CostRow,
                           QList<TRowData>>;

struct SlipKey {
    KeyGroup group;
    QString section;
    QString key; // empty for ClearSection
    KeyType type;
    // Written for the print formats only; never read back (no setter).
    bool printOnly = false;
    // The value of a missing key or of a value that does not convert.
    Value def;
    std::function<Value(const SlipData &, const Context &)> get;
    std::function<void(SlipData &, Value)> set;
};

// All keys, in the order in which a full save writes them into a new file.
const std::vector<SlipKey> &keyTable();

} // namespace SlipFile

Q_DECLARE_OPERATORS_FOR_FLAGS(SlipFile::KeyGroups)
