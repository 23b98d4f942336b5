#include "WinSkinStore.h"

#include <algorithm>

namespace vardo {

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection& owner, int id)
    : owner_(owner), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(std::string_view name) {
    if (name == name_) return;
    if (owner_.NameUsedByOther(name, *this)) {
        throw ESkinStoreError("The name " + std::string(name) + " is already used.");
    }
    name_ = name;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& other) {
    if (&other == this) return;
    name_ = other.name_;
    data_ = other.data_;
}

TSkinCollectionItem& TSkinCollection::Add() {
    // The item's constructor is private to the collection, so make_unique cannot reach it.
    items_.push_back(std::unique_ptr<TSkinCollectionItem>(new TSkinCollectionItem(*this, nextId_)));
    ++nextId_;
    return *items_.back();
}

void TSkinCollection::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("TSkinCollection::Delete");
    items_.erase(items_.begin() + index);
}

void TSkinCollection::Clear() {
    items_.clear();
}

void TSkinCollection::Assign(const TSkinCollection& other) {
    if (&other == this) return;
    Clear();
    for (const auto& item : other.items_) Add().Assign(*item);
}

bool TSkinCollection::NameUsedByOther(std::string_view name,
                                      const TSkinCollectionItem& item) const {
    return std::any_of(items_.begin(), items_.end(), [&](const auto& other) {
        return other.get() != &item && other->name_ == name;
    });
}

}  // namespace vardo
