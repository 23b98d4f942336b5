#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

// Raised by a store item rename to a name that another item already has.
class ESkinStoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TSkinCollection;

// One skin file held by a store.
class TSkinCollectionItem {
  public:
    // The item's name; "SkinItem" followed by its ID until renamed.
    const std::string& Name() const { return name_; }

    // Renames the item. The current name is accepted as is; a name another item of the same
    // collection has (compared exactly) throws ESkinStoreError with "The name " + name + " is
    // already used." and keeps the old name.
    void SetName(std::string_view name);

    // The collection ID: the number of items the collection had created before this one.
    int ID() const { return id_; }

    // The skin file's bytes (the streamed "DataStream").
    const std::string& DataStream() const { return data_; }
    void SetDataStream(std::string data) { data_ = std::move(data); }

    // The caption of the design-time loader; setting it does nothing.
    static std::string_view SkinData() { return "Load Skin"; }

    int DataSize() const { return static_cast<int>(data_.size()); }

    // Copies the other item's name and bytes (the name without the uniqueness check).
    void Assign(const TSkinCollectionItem& other);

  private:
    friend class TSkinCollection;
    TSkinCollectionItem(TSkinCollection& owner, int id);

    TSkinCollection& owner_;
    int id_;
    std::string name_;
    std::string data_;
};

// The items of a store, in order.
class TSkinCollection {
  public:
    TSkinCollection() = default;
    TSkinCollection(const TSkinCollection&) = delete;
    TSkinCollection& operator=(const TSkinCollection&) = delete;

    TSkinCollectionItem& Add();
    void Delete(int index);
    void Clear();

    int Count() const { return static_cast<int>(items_.size()); }
    TSkinCollectionItem& Items(int index) { return *items_.at(index); }
    const TSkinCollectionItem& Items(int index) const { return *items_.at(index); }

    // Replaces the items with copies of the other's, item by item.
    void Assign(const TSkinCollection& other);

  private:
    friend class TSkinCollectionItem;
    bool NameUsedByOther(std::string_view name, const TSkinCollectionItem& item) const;

    std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
    int nextId_ = 0;
};

// The store component: a collection of skin files.
class TSkinStore {
  public:
    TSkinCollection& Store() { return store_; }
    const TSkinCollection& Store() const { return store_; }
    void SetStore(const TSkinCollection& store) { store_.Assign(store); }

  private:
    TSkinCollection store_;
};

}  // namespace vardo
