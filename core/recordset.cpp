#include "core/recordset.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "core/error.h"
#include "core/format.h"

namespace core {

namespace {

enum class RowStatus { Unchanged, Inserted, Modified, Pending };

// One row: its stored fields' values in the order they travel, its calculated ones
// as last computed, and its place in the change log. Deleted rows stay in the row
// list until merged, so cancelUpdates puts them back where they were.
struct Row {
    // Laid out as the packets are, so a list read from the server keeps each row's
    // vector as decoded instead of moving 50-odd values one by one.
    std::vector<Value> values;
    std::vector<Value> calc;                       // by the calculated field's slot; empty until computed
    std::unique_ptr<std::vector<Value>> original;  // as read, for a modified row
    RowStatus status = RowStatus::Unchanged;
    bool deleted = false;
    uint64_t seq = 0;      // order of the last change, for the delta
    uint64_t calcGen = 0;  // generation its calculated values belong to
};

// A row counts in the change log when it holds a change the server has not seen.
bool counts(const Row& r) {
    if (r.status == RowStatus::Pending) return false;
    if (r.deleted) return r.status != RowStatus::Inserted;
    return r.status != RowStatus::Unchanged;
}

const Value kNull;

std::string displayName(const Field& f) {
    return f.label.empty() ? f.name() : f.label;
}

}  // namespace

struct RecordSet::Impl {
    std::vector<std::unique_ptr<Field>> fields;
    std::unordered_map<std::string, int> byExactName;
    std::unordered_map<std::string, int> byUpperName;
    std::vector<int> stored;  // indices of the non-calculated fields

    std::vector<std::unique_ptr<Row>> rows;  // in order, deleted ones included until merged
    std::vector<Row*> view;                  // visible rows: not deleted, filter passed
    int cur = -1;
    bool bof = true, eof = true;
    std::vector<Value> backup;  // current row as it was when the edit began
    std::vector<Value> calcBackup;
    int calcCount = 0;
    int insertedFrom = -1;      // current row before an insert, for its cancel

    std::function<bool(const RecordSet&)> filter;
    int changes = 0;
    uint64_t seqGen = 0;
    uint64_t calcGen = 1;
    int disabled = 0;

    // Row the fields read instead of the current one (filters, grids painting other rows).
    mutable Row* readRow = nullptr;
    mutable Row* calcRow = nullptr;  // row whose calculated fields are being computed

    Row* current() const { return cur >= 0 && cur < static_cast<int>(view.size()) ? view[cur] : nullptr; }
    Row* reading() const { return readRow ? readRow : current(); }

    int indexOf(const std::string& name) const {
        auto it = byExactName.find(name);
        if (it != byExactName.end()) return it->second;
        auto up = byUpperName.find(utf8Upper(name));
        return up == byUpperName.end() ? -1 : up->second;
    }

    Value& valueOf(Row& r, const Field& f) const {
        if (!f.calculated) return r.values[f.slot_];
        if (r.calc.size() < static_cast<size_t>(calcCount)) r.calc.resize(static_cast<size_t>(calcCount));
        return r.calc[f.slot_];
    }

    // Restores the row field reads go to when a routine leaves, even by an exception.
    struct ReadAs {
        const Impl& im;
        Row* saved;
        ReadAs(const Impl& i, Row* r) : im(i), saved(i.readRow) { im.readRow = r; }
        ~ReadAs() { im.readRow = saved; }
    };

    // Calculated fields are computed when read, once per row until the row changes.
    void ensureCalc(const RecordSet& self, Row& r) const {
        if (!self.onCalcFields || r.calcGen == calcGen || calcRow == &r) return;
        ReadAs as(*this, &r);
        Row* savedCalc = calcRow;
        calcRow = &r;
        r.calc.assign(static_cast<size_t>(calcCount), Value());
        try {
            self.onCalcFields(const_cast<RecordSet&>(self));
        } catch (...) {
            calcRow = savedCalc;
            throw;
        }
        calcRow = savedCalc;
        r.calcGen = calcGen;
    }

    bool passes(const RecordSet& self, Row& r) const {
        if (!filter) return true;
        ReadAs as(*this, &r);
        return filter(self);
    }

    std::vector<Row*> buildView(const RecordSet& self) const {
        std::vector<Row*> v;
        v.reserve(rows.size());
        for (const auto& r : rows)
            if (!r->deleted && passes(self, *r)) v.push_back(r.get());
        return v;
    }

    int find(const std::vector<Row*>& v, const Row* r) const {
        if (!r) return -1;
        auto it = std::find(v.begin(), v.end(), r);
        return it == v.end() ? -1 : static_cast<int>(it - v.begin());
    }

    size_t physicalIndex(const Row* r) const {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].get() == r) return i;
        return rows.size();
    }

    void eraseRow(const Row* r) {
        const size_t i = physicalIndex(r);
        if (i < rows.size()) rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    }

    void changed(Row& r, bool before) {
        const bool after = counts(r);
        changes += static_cast<int>(after) - static_cast<int>(before);
        r.seq = ++seqGen;
    }

    void notify(RecordSet& self) const {
        if (disabled == 0) self.onDataChange(self);
    }
    void scrollBefore(RecordSet& self) const {
        if (disabled == 0) self.beforeScroll(self);
    }
    void scrollAfter(RecordSet& self) const {
        if (disabled == 0) self.afterScroll(self);
    }

    void checkActive(const RecordSet& self) const {
        if (self.state_ == DataSetState::Inactive)
            throw Error("O conjunto de dados " + self.name_ + " está fechado.");
    }

    // Posts a pending edit before the set moves or changes shape.
    void checkBrowseMode(RecordSet& self) {
        if (self.state_ == DataSetState::Edit || self.state_ == DataSetState::Insert) self.post();
    }

    // Undoes an edit or drops an unposted row without events.
    void discardEdit(RecordSet& self) {
        if (self.state_ == DataSetState::Insert) {
            Row* r = current();
            if (r && r->status == RowStatus::Pending) {
                view.erase(view.begin() + cur);
                eraseRow(r);
            }
            cur = insertedFrom >= 0 && insertedFrom < static_cast<int>(view.size())
                      ? insertedFrom
                      : std::min(cur, static_cast<int>(view.size()) - 1);
            if (view.empty()) cur = -1;
        } else if (self.state_ == DataSetState::Edit) {
            if (Row* r = current()) {
                r->values = std::move(backup);
                r->calc = std::move(calcBackup);
                r->calcGen = 0;
            }
        }
        backup.clear();
        calcBackup.clear();
        insertedFrom = -1;
        if (self.state_ != DataSetState::Inactive) self.state_ = DataSetState::Browse;
        self.modified_ = false;
    }

    // Moves the current row; the after-scroll handler already sees the new bof/eof.
    void moveTo(RecordSet& self, int target, bool alwaysEvents, bool newBof, bool newEof) {
        if (view.empty()) target = -1;
        if (!alwaysEvents && target == cur) return;
        scrollBefore(self);
        cur = target;
        bof = newBof || view.empty();
        eof = newEof || view.empty();
        if (Row* r = current()) r->calcGen = 0;  // recomputed as the host does on each scroll
        scrollAfter(self);
        notify(self);
    }

    void insertRow(RecordSet& self, bool atEnd);

    void clearRows() {
        rows.clear();
        view.clear();
        cur = -1;
        bof = eof = true;
        changes = 0;
        backup.clear();
        calcBackup.clear();
        insertedFrom = -1;
    }
};

// ---------------------------------------------------------------- Field

const Value& Field::value() const {
    if (!owner_ || owner_->state_ == DataSetState::Inactive) return kNull;
    const auto& im = *owner_->impl_;
    Row* r = im.reading();
    if (!r) return kNull;
    if (calculated) im.ensureCalc(*owner_, *r);
    return im.valueOf(*r, *this);
}

Value Field::oldValue() const {
    if (!owner_ || owner_->state_ == DataSetState::Inactive) return {};
    const auto& im = *owner_->impl_;
    Row* r = im.reading();
    if (!r) return {};
    if (calculated) return value();
    switch (r->status) {
        case RowStatus::Pending:
        case RowStatus::Inserted:
            return {};
        case RowStatus::Modified:
            return (*r->original)[slot_];
        case RowStatus::Unchanged:
            break;
    }
    if (owner_->state_ == DataSetState::Edit && r == im.current() && !im.backup.empty()) return im.backup[slot_];
    return r->values[slot_];
}

void Field::setValue(const Value& v) {
    RecordSet& ds = *owner_;
    auto& im = *ds.impl_;
    if (calculated) {
        Row* r = im.calcRow;
        if (!r && (ds.state_ == DataSetState::Edit || ds.state_ == DataSetState::Insert)) r = im.current();
        if (!r) throw Error("O campo calculado " + name() + " só pode ser alterado no cálculo dos campos.");
        im.valueOf(*r, *this) = checkedValue(def, v);
        return;
    }
    im.checkActive(ds);
    if (ds.state_ != DataSetState::Edit && ds.state_ != DataSetState::Insert)
        throw Error("O conjunto de dados " + ds.name_ + " não está em edição.");
    Row* r = im.current();
    if (!r) throw Error("O conjunto de dados " + ds.name_ + " não tem registro corrente.");
    Value nv = checkedValue(def, v);  // refuses before anything changes

    Value old = std::move(r->values[slot_]);
    r->values[slot_] = std::move(nv);
    const bool oldModified = ds.modified_;
    const uint64_t oldGen = r->calcGen;
    ds.modified_ = true;
    r->calcGen = 0;
    try {
        onValidate(*this);
    } catch (...) {
        r->values[slot_] = std::move(old);
        ds.modified_ = oldModified;
        r->calcGen = oldGen;
        throw;
    }
    onChange(*this);
    im.notify(ds);
}

std::string Field::getText(bool display) const {
    if (onGetText) return onGetText(*this, display);
    const Value& v = value();
    if (v.isNull()) return {};
    const std::string& picture = (display || editFormat.empty()) ? displayFormat : editFormat;
    switch (type()) {
        case FieldType::String:
            if (display && !editMask.empty()) return EditMask::parse(editMask).apply(v.asString());
            return v.asString();
        case FieldType::Integer:
            return picture.empty() ? std::to_string(v.asInteger()) : formatFloat(picture, v.asFloat());
        case FieldType::Float:
            return formatFloat(picture, v.asFloat());
        case FieldType::DateTime:
            if (!display && editFormat.empty()) return formatDateTime("", v.asDateTime());
            return formatDateTime(picture, v.asDateTime());
        case FieldType::Boolean:
            return v.asBool() ? "True" : "False";
        case FieldType::Blob:
            return display ? "(BLOB)" : v.asString();
    }
    return v.asString();
}

namespace {

std::string trimmedText(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

void Field::setText(const std::string& text) {
    if (readOnly) throw Error("O campo " + displayName(*this) + " não pode ser alterado.");
    if (onSetText) {
        onSetText(*this, text);
        return;
    }
    if (type() == FieldType::String) {
        setValue(Value(editMask.empty() ? text : EditMask::parse(editMask).strip(text)));
        return;
    }
    if (type() == FieldType::Blob) {
        setValue(Value(Blob{text}));
        return;
    }
    const std::string t = trimmedText(text);
    if (t.empty()) {
        setValue(Value());
        return;
    }
    switch (type()) {
        case FieldType::Integer: {
            const auto d = parseFloat(t);
            if (!d || *d != std::trunc(*d) || std::fabs(*d) > 9.0e18)
                throw Error("'" + t + "' não é um número inteiro válido para " + displayName(*this) + ".");
            setValue(Value(static_cast<int64_t>(*d)));
            return;
        }
        case FieldType::Float: {
            const auto d = parseFloat(t);
            if (!d) throw Error("'" + t + "' não é um número válido para " + displayName(*this) + ".");
            setValue(Value(*d));
            return;
        }
        case FieldType::DateTime: {
            if (auto dt = parseDateTime(t)) {
                setValue(Value(*dt));
                return;
            }
            if (t.find('/') == std::string::npos) {
                if (auto tm = parseTime(t)) {
                    setValue(Value(DateTime(*tm)));
                    return;
                }
                throw Error("'" + t + "' não é uma hora válida para " + displayName(*this) + ".");
            }
            throw Error("'" + t + "' não é uma data válida para " + displayName(*this) + ".");
        }
        case FieldType::Boolean: {
            const std::string u = utf8Upper(t);
            if (u == "S" || u == "SIM" || u == "T" || u == "TRUE" || u == "1")
                setValue(Value(true));
            else if (u == "N" || u == "NÃO" || u == "NAO" || u == "F" || u == "FALSE" || u == "0")
                setValue(Value(false));
            else
                throw Error("'" + t + "' não é um valor lógico válido para " + displayName(*this) + ".");
            return;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------- RecordSet: definition

RecordSet::RecordSet(std::string name) : name_(std::move(name)), impl_(std::make_unique<Impl>()) {}
RecordSet::~RecordSet() = default;

Field& RecordSet::addField(const std::string& name, FieldType type, int size, const std::string& label) {
    FieldDef def;
    def.name = name;
    def.type = type;
    def.size = size;
    return addField(def, label);
}

Field& RecordSet::addField(const FieldDef& def, const std::string& label) {
    if (active())
        throw Error("Os campos de " + name_ + " só podem ser definidos com o conjunto de dados fechado.");
    if (def.name.empty()) throw Error("Campo sem nome em " + name_ + ".");
    if (impl_->indexOf(def.name) >= 0) throw Error("Campo " + def.name + " repetido em " + name_ + ".");
    auto f = std::make_unique<Field>();
    f->def = def;
    f->label = label;
    f->owner_ = this;
    f->index_ = static_cast<int>(impl_->fields.size());
    impl_->byExactName[def.name] = f->index_;
    impl_->byUpperName[utf8Upper(def.name)] = f->index_;
    f->slot_ = static_cast<int>(impl_->stored.size());
    impl_->stored.push_back(f->index_);
    impl_->fields.push_back(std::move(f));
    return *impl_->fields.back();
}

Field& RecordSet::addCalculated(const std::string& name, FieldType type, int size) {
    Field& f = addField(name, type, size);
    f.calculated = true;
    impl_->stored.pop_back();
    f.slot_ = impl_->calcCount++;
    return f;
}

Field* RecordSet::findField(const std::string& name) {
    const int i = impl_->indexOf(name);
    return i < 0 ? nullptr : impl_->fields[i].get();
}

const Field* RecordSet::findField(const std::string& name) const {
    const int i = impl_->indexOf(name);
    return i < 0 ? nullptr : impl_->fields[i].get();
}

Field& RecordSet::field(const std::string& name) {
    if (Field* f = findField(name)) return *f;
    throw Error("Campo " + name + " não encontrado em " + name_ + ".");
}

const Field& RecordSet::field(const std::string& name) const {
    if (const Field* f = findField(name)) return *f;
    throw Error("Campo " + name + " não encontrado em " + name_ + ".");
}

size_t RecordSet::fieldCount() const {
    return impl_->fields.size();
}
Field& RecordSet::fieldAt(size_t i) {
    return *impl_->fields.at(i);
}
const Field& RecordSet::fieldAt(size_t i) const {
    return *impl_->fields.at(i);
}

std::vector<FieldDef> RecordSet::fieldDefs() const {
    std::vector<FieldDef> out;
    out.reserve(impl_->stored.size());
    for (int i : impl_->stored) out.push_back(impl_->fields[i]->def);
    return out;
}

// ---------------------------------------------------------------- contents

void RecordSet::setData(const Packet& p) { adopt(const_cast<Packet&>(p), false); }

void RecordSet::setData(Packet&& p) { adopt(p, true); }

// `take`: the packet is the caller's to give up, so its values move instead of being
// copied and each row's storage goes as soon as it is read (a long list is not held twice).
void RecordSet::adopt(Packet& p, bool take) {
    auto& im = *impl_;
    // Everything is converted before anything changes, so a bad packet leaves the set as it was.
    const size_t declared = im.fields.size();
    std::vector<int> source(declared, -1);
    for (int i : im.stored) source[i] = p.fieldIndex(im.fields[i]->name());
    std::vector<FieldDef> extra;
    std::vector<int> extraSource;
    for (size_t pi = 0; pi < p.fields.size(); ++pi) {
        if (im.indexOf(p.fields[pi].name) < 0) {
            extra.push_back(p.fields[pi]);
            extraSource.push_back(static_cast<int>(pi));
        }
    }
    // Rows hold the stored fields in their order, then the packet's extra ones.
    const size_t storedCount = im.stored.size();
    const size_t width = storedCount + extra.size();
    bool sameLayout = extra.empty() && p.fields.size() == storedCount;
    for (size_t k = 0; k < storedCount && sameLayout; ++k) sameLayout = source[im.stored[k]] == static_cast<int>(k);
    auto fitted = [&](Value& v, const FieldDef& def) {
        if (v.isNull() || v.holds(def.type)) return;
        FieldDef loose = def;
        loose.size = 0;  // what the server sends is kept whole
        v = checkedValue(loose, v);
    };
    // The stored fields' definitions in row order, looked up once, not for every value.
    std::vector<const FieldDef*> storedDefs(storedCount);
    for (size_t k = 0; k < storedCount; ++k) storedDefs[k] = &im.fields[im.stored[k]]->def;
    std::vector<std::unique_ptr<Row>> rows;
    rows.reserve(p.rows.size());
    for (auto& src : p.rows) {
        if (src.size() != p.fields.size())
            throw Error("Pacote de dados inválido: linha com número de colunas diferente dos campos.");
        auto r = std::make_unique<Row>();
        if (sameLayout) {
            r->values = take ? std::move(src) : src;
            Value* values = r->values.data();
            for (size_t k = 0; k < storedCount; ++k) fitted(values[k], *storedDefs[k]);
        } else {
            r->values.resize(width);
            for (size_t k = 0; k < storedCount; ++k) {
                const int from = source[im.stored[k]];
                if (from < 0) continue;
                r->values[k] = take ? std::move(src[from]) : src[from];
                fitted(r->values[k], *storedDefs[k]);
            }
            for (size_t e = 0; e < extra.size(); ++e)
                r->values[storedCount + e] = take ? std::move(src[extraSource[e]]) : src[extraSource[e]];
            if (take) std::vector<Value>().swap(src);
        }
        rows.push_back(std::move(r));
    }

    beforeOpen(*this);

    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) im.discardEdit(*this);
    for (size_t i = 0; i < declared; ++i) {
        Field& f = *im.fields[i];
        const int pi = source[i];
        if (pi < 0 || f.calculated) continue;
        f.def.inKey = f.def.inKey || p.fields[pi].inKey;
        f.def.required = f.def.required || p.fields[pi].required;
        if (f.def.size == 0) f.def.size = p.fields[pi].size;
    }
    const DataSetState saved = state_;
    state_ = DataSetState::Inactive;  // new fields are definitions
    for (const auto& def : extra) addField(def);
    state_ = saved;

    im.clearRows();
    im.rows = std::move(rows);
    ++im.calcGen;
    state_ = DataSetState::Browse;
    modified_ = false;
    im.view = im.buildView(*this);
    im.cur = im.view.empty() ? -1 : 0;
    im.bof = true;
    im.eof = im.view.empty();
    afterOpen(*this);
    if (!im.view.empty()) im.scrollAfter(*this);
    im.notify(*this);
}

Packet RecordSet::data() const {
    const auto& im = *impl_;
    Packet p;
    p.fields = fieldDefs();
    p.rows.reserve(im.rows.size());
    const Row* editing = state_ == DataSetState::Edit ? im.current() : nullptr;
    for (const auto& r : im.rows) {
        if (r->deleted || r->status == RowStatus::Pending) continue;
        p.rows.push_back(r.get() == editing && !im.backup.empty() ? im.backup : r->values);
    }
    return p;
}

void RecordSet::open() {
    if (active()) return;
    beforeOpen(*this);
    impl_->clearRows();
    state_ = DataSetState::Browse;
    modified_ = false;
    afterOpen(*this);
    impl_->notify(*this);
}

void RecordSet::close() {
    if (!active()) return;
    beforeClose(*this);
    impl_->discardEdit(*this);
    impl_->clearRows();
    state_ = DataSetState::Inactive;
    afterClose(*this);
    impl_->notify(*this);
}

void RecordSet::emptyDataSet() {
    impl_->checkActive(*this);
    impl_->discardEdit(*this);
    impl_->clearRows();
    impl_->notify(*this);
}

int RecordSet::recordCount() const {
    return active() ? static_cast<int>(impl_->view.size()) : 0;
}
int RecordSet::recNo() const {
    return active() ? impl_->cur + 1 : 0;
}

// ---------------------------------------------------------------- navigation

void RecordSet::first() {
    auto& im = *impl_;
    im.checkActive(*this);
    im.checkBrowseMode(*this);
    im.moveTo(*this, 0, true, true, false);
}

void RecordSet::last() {
    auto& im = *impl_;
    im.checkActive(*this);
    im.checkBrowseMode(*this);
    im.moveTo(*this, static_cast<int>(im.view.size()) - 1, true, false, true);
}

void RecordSet::next() {
    moveBy(1);
}
void RecordSet::prior() {
    moveBy(-1);
}

void RecordSet::moveBy(int n) {
    auto& im = *impl_;
    im.checkActive(*this);
    im.checkBrowseMode(*this);
    if (n == 0) return;
    const int size = static_cast<int>(im.view.size());
    const long want = static_cast<long>(im.cur) + n;
    const int target = static_cast<int>(std::clamp<long>(want, 0, std::max(size - 1, 0)));
    if (target == im.cur || size == 0) {
        im.scrollBefore(*this);  // the host asks even when there is nowhere to go
        if (n > 0)
            im.eof = true;
        else
            im.bof = true;
        return;
    }
    im.moveTo(*this, target, false, want < 0, want >= size);
}

void RecordSet::moveTo(int recNo) {
    auto& im = *impl_;
    im.checkActive(*this);
    im.checkBrowseMode(*this);
    const int size = static_cast<int>(im.view.size());
    if (size == 0) return;
    im.moveTo(*this, std::clamp(recNo - 1, 0, size - 1), false, false, false);
}

bool RecordSet::eof() const {
    return !active() || impl_->eof || impl_->view.empty();
}
bool RecordSet::bof() const {
    return !active() || impl_->bof || impl_->view.empty();
}

bool RecordSet::locate(const std::vector<std::string>& names, const std::vector<Value>& values,
                       bool caseInsensitive) {
    auto& im = *impl_;
    im.checkActive(*this);
    if (names.size() != values.size())
        throw Error("Localizar: número de campos diferente do número de valores.");
    im.checkBrowseMode(*this);
    std::vector<const Field*> fs;
    for (const auto& n : names) fs.push_back(&field(n));
    for (size_t i = 0; i < im.view.size(); ++i) {
        Row& r = *im.view[i];
        bool match = true;
        for (size_t k = 0; k < fs.size() && match; ++k) {
            if (fs[k]->calculated) im.ensureCalc(*this, r);
            match = sameValue(im.valueOf(r, *fs[k]), values[k], caseInsensitive);
        }
        if (match) {
            im.moveTo(*this, static_cast<int>(i), true, false, false);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- editing

void RecordSet::append() {
    impl_->insertRow(*this, true);
}
void RecordSet::insert() {
    impl_->insertRow(*this, false);
}

void RecordSet::Impl::insertRow(RecordSet& self, bool atEnd) {
    auto& im = *this;
    RecordSet& me = self;
    im.checkActive(me);
    im.checkBrowseMode(me);
    me.beforeInsert(me);
    im.scrollBefore(me);

    auto row = std::make_unique<Row>();
    row->values.resize(im.stored.size());
    row->status = RowStatus::Pending;
    Row* r = row.get();
    const int from = im.cur;
    size_t phys = im.rows.size();
    int pos = static_cast<int>(im.view.size());
    if (!atEnd && im.current()) {
        phys = im.physicalIndex(im.current());
        pos = im.cur;
    }
    im.rows.insert(im.rows.begin() + static_cast<std::ptrdiff_t>(phys), std::move(row));
    im.view.insert(im.view.begin() + pos, r);
    im.cur = pos;
    im.insertedFrom = from;  // where a cancel returns, once the new row is gone
    const bool bof = im.bof, eof = im.eof;
    im.bof = im.eof = false;
    me.state_ = DataSetState::Insert;
    me.modified_ = false;
    try {
        me.onNewRecord(me);
    } catch (...) {
        im.view.erase(im.view.begin() + pos);
        im.eraseRow(r);
        im.cur = from;
        im.insertedFrom = -1;
        im.bof = bof;
        im.eof = eof;
        me.state_ = DataSetState::Browse;
        me.modified_ = false;
        throw;
    }
    me.afterInsert(me);
    im.scrollAfter(me);
    im.notify(me);
}

void RecordSet::edit() {
    auto& im = *impl_;
    im.checkActive(*this);
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
    if (im.view.empty()) {
        append();
        return;
    }
    beforeEdit(*this);
    im.backup = im.current()->values;
    im.calcBackup = im.current()->calc;
    state_ = DataSetState::Edit;
    modified_ = false;
    afterEdit(*this);
    im.notify(*this);
}

void RecordSet::post() {
    auto& im = *impl_;
    im.checkActive(*this);
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
    beforePost(*this);
    Row& r = *im.current();
    for (int i : im.stored) {
        const Field& f = *im.fields[i];
        const Value& v = r.values[f.slot_];
        if (f.def.required && (v.isNull() || (v.isString() && trimmedText(v.asString()).empty())))
            throw Error("Campo " + displayName(f) + " deve ser informado.");
    }
    const bool before = counts(r);
    if (state_ == DataSetState::Insert) {
        r.status = RowStatus::Inserted;
        im.changed(r, before);
    } else if (modified_) {
        if (r.status == RowStatus::Unchanged) {
            r.original = std::make_unique<std::vector<Value>>(std::move(im.backup));
            r.status = RowStatus::Modified;
        }
        im.changed(r, before);
    }
    im.backup.clear();
    im.calcBackup.clear();
    im.insertedFrom = -1;
    state_ = DataSetState::Browse;
    modified_ = false;
    bool visible = true;
    try {
        visible = im.passes(*this, r);
    } catch (...) {
        // the row is saved; a filter that cannot judge it leaves it in view
    }
    if (!visible) {
        im.view.erase(im.view.begin() + im.cur);
        im.cur = std::min(im.cur, static_cast<int>(im.view.size()) - 1);
    }
    afterPost(*this);
    im.notify(*this);
}

void RecordSet::cancel() {
    auto& im = *impl_;
    im.checkActive(*this);
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
    beforeCancel(*this);
    const bool wasInsert = state_ == DataSetState::Insert;
    if (wasInsert) im.scrollBefore(*this);
    im.discardEdit(*this);
    afterCancel(*this);
    if (wasInsert) im.scrollAfter(*this);
    im.notify(*this);
}

void RecordSet::remove() {
    auto& im = *impl_;
    im.checkActive(*this);
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (im.view.empty()) throw Error("Não há registro para excluir em " + name_ + ".");
    beforeDelete(*this);
    im.scrollBefore(*this);
    if (state_ == DataSetState::Edit) im.discardEdit(*this);
    Row* r = im.current();
    const bool before = counts(*r);
    im.view.erase(im.view.begin() + im.cur);
    if (r->status == RowStatus::Inserted) {
        im.changes -= static_cast<int>(before);
        im.eraseRow(r);
    } else {
        r->deleted = true;
        im.changed(*r, before);
    }
    im.cur = std::min(im.cur, static_cast<int>(im.view.size()) - 1);
    im.bof = im.eof = im.view.empty();
    if (Row* c = im.current()) c->calcGen = 0;
    state_ = DataSetState::Browse;
    modified_ = false;
    afterDelete(*this);
    im.scrollAfter(*this);
    im.notify(*this);
}

// ---------------------------------------------------------------- change log

int RecordSet::changeCount() const {
    return impl_->changes;
}

Packet RecordSet::delta() const {
    const auto& im = *impl_;
    Packet p;
    p.fields = fieldDefs();
    std::vector<const Row*> changedRows;
    for (const auto& r : im.rows)
        if (counts(*r)) changedRows.push_back(r.get());
    std::sort(changedRows.begin(), changedRows.end(),
              [](const Row* a, const Row* b) { return a->seq < b->seq; });
    const Row* editing = state_ == DataSetState::Edit ? im.current() : nullptr;
    for (const Row* r : changedRows) {
        const auto& now = (r == editing && !im.backup.empty()) ? im.backup : r->values;
        const auto& asRead = r->status == RowStatus::Modified ? *r->original : r->values;
        Change c;
        if (r->deleted) {
            c.kind = ChangeKind::Delete;
            c.oldValues = asRead;
        } else if (r->status == RowStatus::Inserted) {
            c.kind = ChangeKind::Insert;
            c.newValues = now;
        } else {
            c.kind = ChangeKind::Modify;
            c.oldValues = asRead;
            c.newValues = now;
        }
        p.delta.push_back(std::move(c));
    }
    return p;
}

void RecordSet::mergeChangeLog() {
    auto& im = *impl_;
    std::erase_if(im.rows, [](const std::unique_ptr<Row>& r) { return r->deleted; });
    for (auto& r : im.rows) {
        if (r->status == RowStatus::Inserted || r->status == RowStatus::Modified)
            r->status = RowStatus::Unchanged;
        r->original.reset();
    }
    im.changes = 0;
    im.notify(*this);
}

void RecordSet::cancelUpdates() {
    auto& im = *impl_;
    if (!active()) return;
    im.discardEdit(*this);
    Row* keep = im.current();
    std::erase_if(im.rows, [&](const std::unique_ptr<Row>& r) {
        if (r->status != RowStatus::Inserted && r->status != RowStatus::Pending) return false;
        if (r.get() == keep) keep = nullptr;
        return true;
    });
    for (auto& r : im.rows) {
        if (r->status == RowStatus::Modified) r->values = std::move(*r->original);
        r->original.reset();
        r->status = RowStatus::Unchanged;
        r->deleted = false;
    }
    im.changes = 0;
    ++im.calcGen;
    im.view = im.buildView(*this);
    const int at = im.find(im.view, keep);
    im.cur = at >= 0 ? at : (im.view.empty() ? -1 : 0);
    im.bof = im.cur <= 0;
    im.eof = im.view.empty();
    im.notify(*this);
}

// ---------------------------------------------------------------- filter

void RecordSet::setFilter(std::function<bool(const RecordSet&)> accept) {
    auto& im = *impl_;
    if (active()) im.checkBrowseMode(*this);
    auto previous = std::move(im.filter);
    im.filter = std::move(accept);
    try {
        refreshFilter();
    } catch (...) {
        im.filter = std::move(previous);
        throw;
    }
}

void RecordSet::clearFilter() {
    setFilter(nullptr);
}
bool RecordSet::filtered() const {
    return static_cast<bool>(impl_->filter);
}

void RecordSet::refreshFilter() {
    auto& im = *impl_;
    if (!active()) return;
    im.checkBrowseMode(*this);
    auto view = im.buildView(*this);
    Row* keep = im.current();
    int at = im.find(view, keep);
    if (at < 0 && !view.empty()) at = 0;
    const bool moved = (at < 0 ? nullptr : view[at]) != keep;
    if (moved) im.scrollBefore(*this);
    im.view = std::move(view);
    im.cur = at;
    im.bof = im.cur <= 0;
    im.eof = im.view.empty();
    ++im.calcGen;
    if (moved) im.scrollAfter(*this);
    im.notify(*this);
}

std::string RecordSet::nullFieldList() const {
    const auto& im = *impl_;
    const Row* r = active() ? im.current() : nullptr;
    std::string out;
    for (int i : im.stored)
        if (!r || r->values[im.fields[i]->slot_].isNull()) out += "_" + im.fields[i]->name();
    return out;
}

void RecordSet::disableControls() {
    ++impl_->disabled;
}

void RecordSet::enableControls() {
    auto& im = *impl_;
    if (im.disabled == 0) return;
    if (--im.disabled == 0) {
        ++im.calcGen;
        im.notify(*this);
    }
}

bool RecordSet::controlsDisabled() const {
    return impl_->disabled > 0;
}

// ---------------------------------------------------------------- grids

Value RecordSet::valueAt(int row, const std::string& name) const {
    const auto& im = *impl_;
    const int i = im.indexOf(name);
    if (i < 0) throw Error("Campo " + name + " não encontrado em " + name_ + ".");
    if (!active() || row < 0 || row >= static_cast<int>(im.view.size())) return {};
    Row& r = *im.view[row];
    if (im.fields[i]->calculated) im.ensureCalc(*this, r);
    return im.valueOf(r, *im.fields[i]);
}

std::string RecordSet::displayTextAt(int row, const std::string& name) const {
    const auto& im = *impl_;
    const int i = im.indexOf(name);
    if (i < 0) throw Error("Campo " + name + " não encontrado em " + name_ + ".");
    if (!active() || row < 0 || row >= static_cast<int>(im.view.size())) return {};
    Impl::ReadAs as(im, im.view[row]);
    return im.fields[i]->getText(true);
}

}  // namespace core
