#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/packet.h"
#include "core/signal.h"

namespace core {

class RecordSet;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// A field of a record set: its definition, display rules and events. Values live in
// the record set's rows; a Field reads and writes the current row.
class Field {
public:
    FieldDef def;
    std::string label;
    bool visible = true;
    bool readOnly = false;
    bool calculated = false;
    std::string displayFormat;  // "#,##0.000", "ddddd hh:nn", ...
    std::string editFormat;     // "###0.000"
    std::string editMask;       // "9999999999;0; "
    int tag = 0;

    // Events, with any number of listeners: onValidate (a listener may throw to
    // refuse the new value), then onChange, after each write of the field.
    Signal<Field&> onValidate;
    Signal<Field&> onChange;
    // Conversions, one per field: onGetText(field, displayText?) returns the text to
    // show; onSetText turns typed text into a value (it writes the field itself).
    std::function<std::string(const Field&, bool displayText)> onGetText;
    std::function<void(Field&, const std::string& text)> onSetText;

    const std::string& name() const { return def.name; }
    FieldType type() const { return def.type; }
    int size() const { return def.size; }
    RecordSet& dataSet() const { return *owner_; }

    // Current row's value. Reading an inactive or empty set gives null.
    const Value& value() const;
    bool isNull() const { return value().isNull(); }
    std::string asString() const { return value().asString(); }
    double asFloat() const { return value().asFloat(); }
    int64_t asInteger() const { return value().asInteger(); }
    bool asBool() const { return value().asBool(); }
    DateTime asDateTime() const { return value().asDateTime(); }
    // Value of the current row as last read or merged (null for a new row).
    Value oldValue() const;

    // Writes the current row: the set must be in edit or insert (or the field
    // calculated, inside onCalcFields). Converts to the field's type; a value of the
    // wrong type, or text longer than the field, throws core::Error and changes
    // nothing. Fires onValidate, then onChange.
    void setValue(const Value& v);
    void clear() { setValue(Value()); }

    // Text as shown (displayText) or as edited, through onGetText or the formats.
    std::string text() const { return getText(false); }
    std::string displayText() const { return getText(true); }
    std::string getText(bool displayText) const;
    // Typed text into the field, through onSetText or the field's parser (Brazilian
    // numbers and dates). An unparsable text throws core::Error and changes nothing.
    void setText(const std::string& text);

private:
    friend class RecordSet;
    RecordSet* owner_ = nullptr;
    int index_ = 0;  // among all the set's fields
    int slot_ = 0;   // among its row's stored values, or among its calculated ones
};

// The host's client dataset: rows held in memory, a current row, states and events,
// and a change log that a save sends to the server as a delta.
class RecordSet {
public:
    using Event = Signal<RecordSet&>;

    explicit RecordSet(std::string name = {});
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;
    ~RecordSet();

    const std::string& name() const { return name_; }

    // --- definition (only while inactive) ---
    Field& addField(const std::string& name, FieldType type, int size = 0, const std::string& label = {});
    Field& addField(const FieldDef& def, const std::string& label = {});
    Field& addCalculated(const std::string& name, FieldType type, int size = 0);
    Field& field(const std::string& name);  // throws core::Error when absent (case-insensitive)
    const Field& field(const std::string& name) const;
    Field* findField(const std::string& name);
    const Field* findField(const std::string& name) const;
    Field& operator[](const std::string& name) { return field(name); }
    size_t fieldCount() const;
    Field& fieldAt(size_t i);
    const Field& fieldAt(size_t i) const;
    std::vector<FieldDef> fieldDefs() const;  // stored (non-calculated) fields in order

    // --- contents ---
    // Replaces the whole content with a server packet and opens the set (fires
    // beforeOpen/afterOpen). Fields declared here are matched by name; a packet
    // field with no declared field is added; a declared one the packet lacks stays
    // null. An empty packet leaves the set open and empty. Clears the change log.
    void setData(const Packet& p);
    void setData(Packet&& p);  // the same, taking the packet's values instead of copying them
    // Rows as they are now (the change log applied), stored fields only.
    Packet data() const;
    void open();  // opens empty when no data was set
    void close();
    void emptyDataSet();  // removes every row and the change log, stays open
    bool active() const { return state_ != DataSetState::Inactive; }
    DataSetState state() const { return state_; }
    bool isEmpty() const { return recordCount() == 0; }
    // Visible rows (the filter applied).
    int recordCount() const;
    int recNo() const;  // 1-based position of the current row among the visible rows; 0 when empty

    // --- navigation (posts a pending edit first, as the host does) ---
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int n);
    void moveTo(int recNo);
    bool eof() const;
    bool bof() const;
    // Finds the first visible row whose fields equal the values; moves there and
    // returns true, or stays and returns false. Texts compare case-insensitively when asked.
    bool locate(const std::vector<std::string>& fields, const std::vector<Value>& values,
                bool caseInsensitive = true);
    bool locate(const std::string& field, const Value& value, bool caseInsensitive = true) {
        return locate(std::vector<std::string>{field}, std::vector<Value>{value}, caseInsensitive);
    }

    // --- editing ---
    void append();  // new row at the end, state Insert
    void insert();  // new row before the current one, state Insert
    void edit();    // state Edit on the current row; on an empty set it inserts, as the host does
    void post();    // required fields checked, change logged, state Browse
    void cancel();  // edit undone, inserted row dropped, state Browse
    void remove();  // deletes the current row (the host's Delete)
    bool modified() const { return modified_; }  // a field changed since edit/insert

    // --- change log ---
    int changeCount() const;  // rows with pending changes
    // The pending changes as a delta packet: fields and one Change per changed row.
    // An inserted then modified row is one Insert with its latest values; a modified
    // row is one Modify with the values as read and as now; a deleted row is one
    // Delete with the values as read; an inserted then deleted row is nothing.
    Packet delta() const;
    void mergeChangeLog();  // pending changes become the data as read
    void cancelUpdates();   // every pending change undone, rows as read, state Browse

    // --- filter ---
    void setFilter(std::function<bool(const RecordSet&)> accept);  // evaluated with each row current
    void clearFilter();
    bool filtered() const;
    void refreshFilter();

    // Names of the stored fields of the current row that are null, each preceded by
    // "_", in field order ("_NRSUBLOTE_DTVALILOTE").
    std::string nullFieldList() const;

    // Suspends scroll events and calculated fields while a routine walks the rows.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const;

    // --- events: listeners run in the order they connected; an exception (core::Abort,
    // core::Error, any) thrown by a "before" listener stops the operation, skips the
    // later listeners and leaves state and data as they were ---
    Event beforeOpen, afterOpen, beforeClose, afterClose;
    Event beforeInsert, afterInsert, onNewRecord;
    Event beforeEdit, afterEdit;
    Event beforePost, afterPost;
    Event beforeCancel, afterCancel;
    Event beforeDelete, afterDelete;
    Event beforeScroll, afterScroll;
    Event onCalcFields;
    // Fires on any change of state, current row or data (the views repaint on it),
    // after the matching "after" event.
    Event onDataChange;

    // Internal: row access for the codec, the views and the fields.
    struct Impl;
    Impl& impl() { return *impl_; }
    const Impl& impl() const { return *impl_; }
    // Value of a visible row (0-based) without moving the current row; calculated
    // fields are computed for it. For grids that paint rows they do not make current.
    Value valueAt(int row, const std::string& field) const;
    std::string displayTextAt(int row, const std::string& field) const;

private:
    friend class Field;
    void adopt(Packet& p, bool take);
    std::string name_;
    DataSetState state_ = DataSetState::Inactive;
    bool modified_ = false;
    std::unique_ptr<Impl> impl_;
};

}  // namespace core
