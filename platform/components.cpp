#include "platform/components.h"

#include <algorithm>

#include "core/error.h"
#include "core/value.h"

namespace platform {

Control& ComponentModel::add(const std::string& name, ControlKind kind, const std::string& parent,
                             const std::string& caption) {
    auto& slot = controls_[name];
    if (!slot) order_.push_back(name);
    slot = std::make_unique<Control>();
    slot->name = name;
    slot->kind = kind;
    slot->parent = parent;
    slot->caption = caption;
    return *slot;
}

Control* ComponentModel::find(const std::string& name) {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second.get();
}

const Control* ComponentModel::find(const std::string& name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second.get();
}

Control& ComponentModel::operator[](const std::string& name) {
    if (auto* c = find(name)) return *c;
    throw core::Error("Componente inexistente: " + name);
}

const Control& ComponentModel::operator[](const std::string& name) const {
    if (auto* c = find(name)) return *c;
    throw core::Error("Componente inexistente: " + name);
}

std::vector<std::string> ComponentModel::children(const std::string& parent) const {
    std::vector<std::string> out;
    for (const auto& n : order_)
        if (controls_.at(n)->parent == parent) out.push_back(n);
    return out;
}

void ComponentModel::setFocus(const std::string& name) {
    (void)(*this)[name];
    focus_ = name;
    if (onFocusChange) onFocusChange(name);
}

std::vector<std::string> ComponentModel::tabs(const std::string& pageControl) const {
    std::vector<std::string> out;
    for (const auto& n : order_) {
        const auto& c = *controls_.at(n);
        if (c.kind == ControlKind::Tab && c.parent == pageControl) out.push_back(n);
    }
    return out;
}

std::string ComponentModel::activeTab(const std::string& pageControl) const {
    const auto t = tabs(pageControl);
    const int i = (*this)[pageControl].activeTab;
    return i >= 0 && i < static_cast<int>(t.size()) ? t[i] : std::string();
}

void ComponentModel::setActiveTab(const std::string& pageControl, const std::string& tab) {
    const auto t = tabs(pageControl);
    for (size_t i = 0; i < t.size(); ++i)
        if (t[i] == tab) {
            (*this)[pageControl].activeTab = static_cast<int>(i);
            if (onTabChange) onTabChange(pageControl);
            return;
        }
    throw core::Error("Aba inexistente: " + tab);
}

void ComponentModel::selectTab(const std::string& pageControl, const std::string& tab) {
    if (activeTab(pageControl) == tab) return;
    const auto t = tabs(pageControl);
    if (std::find(t.begin(), t.end(), tab) == t.end()) throw core::Error("Aba inexistente: " + tab);
    // Copied: the handlers may replace the page control's events while they run.
    if (const auto changing = (*this)[pageControl].onChanging) changing();
    setActiveTab(pageControl, tab);
    if (const auto change = (*this)[pageControl].onChange) change();
}

DataSource& ComponentModel::addDataSource(const std::string& name, core::RecordSet* set) {
    auto& slot = sources_[name];
    if (!slot) {
        slot = std::make_unique<DataSource>(name, set);
        return *slot;
    }
    // Its listeners stay: a screen re-pointing a source keeps what it connected.
    slot->setDataSet(set);
    return *slot;
}

DataSource* ComponentModel::dataSource(const std::string& name) {
    auto it = sources_.find(name);
    return it == sources_.end() ? nullptr : it->second.get();
}

const DataSource* ComponentModel::dataSource(const std::string& name) const {
    auto it = sources_.find(name);
    return it == sources_.end() ? nullptr : it->second.get();
}

// ---------------------------------------------------------------- DataSource

DataSource::DataSource(std::string n, core::RecordSet* set) : name(std::move(n)) {
    set_ = set;
    follow();
}

void DataSource::setDataSet(core::RecordSet* set) {
    if (set == set_) return;
    set_ = set;
    follow();
    onStateChange(*this);
    onDataChange(*this);
}

void DataSource::follow() {
    link_ = set_ ? core::ScopedConnection(set_->onDataChange.connect([this](core::RecordSet& s) {
        const bool stateChanged = s.state() != seen_;
        seen_ = s.state();
        if (stateChanged) onStateChange(*this);
        onDataChange(*this);
    }))
                 : core::ScopedConnection();
    seen_ = state();
}

// ---------------------------------------------------------------- Control

bool raiseKey(Control& c, Key& key) {
    if (c.onKeyDown) c.onKeyDown(key);
    if (key.empty()) return false;
    if (c.onKeyPress && !key.text.empty()) {
        c.onKeyPress(key);
        if (key.text.empty()) key.clear();
    }
    return !key.empty();
}

GridColumn* Control::column(const std::string& field) {
    const std::string want = core::utf8Upper(field);
    for (auto& c : columns)
        if (core::utf8Upper(c.field) == want) return &c;
    return nullptr;
}

const GridColumn* Control::column(const std::string& field) const {
    return const_cast<Control*>(this)->column(field);
}

std::string Control::selectedField() const {
    if (selectedColumn >= 0 && selectedColumn < static_cast<int>(columns.size())) return columns[selectedColumn].field;
    // A grid starts on its first visible column, as the host's does.
    for (const auto& c : columns)
        if (c.visible) return c.field;
    return {};
}

}  // namespace platform
