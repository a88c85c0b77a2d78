// The framework's collection templates: CArray, CList and CMap.
//
// Contracts shared by all three:
//  - Sizes and indexes are INT_PTR. An index outside the array, a null or
//    foreign POSITION, or removing from an empty list throws
//    CInvalidArgException* (thrown by pointer; the catcher calls Delete()).
//  - POSITION is an opaque handle to one element. It stays valid until that
//    element is removed or the container is destroyed; removing OTHER
//    elements does not invalidate it. CMap positions are also invalidated by
//    adding keys (the table may grow).
//  - CList and CMap are not copyable, as in the framework; CArray is.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/base/exceptions.h"
#include "platform/base/wintypes.h"

struct AgPositionTag;
using POSITION = AgPositionTag*;

// ---------------------------------------------------------------- CArray

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
 public:
  CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }

  // Grows with default-constructed elements or truncates. nGrowBy is a
  // growth hint only (-1 keeps the current one).
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    if (nNewSize < 0) {
      AfxThrowInvalidArgException();
    }
    if (nGrowBy >= 0) {
      m_nGrowBy = nGrowBy;
    }
    if (static_cast<size_t>(nNewSize) > m_data.capacity() && m_nGrowBy > 0) {
      m_data.reserve(static_cast<size_t>(nNewSize + m_nGrowBy));
    }
    m_data.resize(static_cast<size_t>(nNewSize));
  }
  void RemoveAll() { m_data.clear(); }

  TYPE* GetData() { return m_data.data(); }
  const TYPE* GetData() const { return m_data.data(); }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Checked(nIndex)] = newElement; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  TYPE& operator[](INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  const TYPE& operator[](INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }

  // Sets the element, growing the array first when nIndex is past the end.
  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) {
      AfxThrowInvalidArgException();
    }
    if (nIndex >= GetSize()) {
      TYPE copy(newElement);  // newElement may refer into this array
      SetSize(nIndex + 1);
      m_data[static_cast<size_t>(nIndex)] = std::move(copy);
      return;
    }
    m_data[static_cast<size_t>(nIndex)] = newElement;
  }

  // Returns the index of the new element.
  INT_PTR Add(ARG_TYPE newElement) {
    m_data.push_back(newElement);
    return GetSize() - 1;
  }

  // Appends a copy of src (which may be this array); returns the index of
  // the first appended element.
  INT_PTR Append(const CArray& src) {
    const INT_PTR old = GetSize();
    if (&src == this) {
      std::vector<TYPE> copy(m_data);
      m_data.insert(m_data.end(), copy.begin(), copy.end());
    } else {
      m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    }
    return old;
  }
  void Copy(const CArray& src) {
    if (&src != this) {
      m_data = src.m_data;
    }
  }

  // Inserts nCount copies at nIndex; an index past the end grows the array
  // (with default elements) up to it, as the framework does.
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) {
      AfxThrowInvalidArgException();
    }
    TYPE copy(newElement);  // newElement may refer into this array
    if (nIndex > GetSize()) {
      SetSize(nIndex);
    }
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), copy);
  }
  void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
    if (pNewArray == nullptr || nStartIndex < 0) {
      AfxThrowInvalidArgException();
    }
    const std::vector<TYPE> copy(pNewArray->m_data);
    if (nStartIndex > GetSize()) {
      SetSize(nStartIndex);
    }
    m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
  }

  // Removes [nIndex, nIndex + nCount); the whole range must lie inside.
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize()) {
      AfxThrowInvalidArgException();
    }
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

  // Range-for support for our own code.
  auto begin() { return m_data.begin(); }
  auto end() { return m_data.end(); }
  auto begin() const { return m_data.begin(); }
  auto end() const { return m_data.end(); }

 private:
  size_t Checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize()) {
      AfxThrowInvalidArgException();
    }
    return static_cast<size_t>(nIndex);
  }

  std::vector<TYPE> m_data;
  INT_PTR m_nGrowBy = 0;
};

// ----------------------------------------------------------------- CList

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
  struct Node;
  using Nodes = std::list<Node>;
  // Each node knows its own place in the list, so a POSITION (the node's
  // address) leads back to an iterator in O(1).
  struct Node {
    TYPE data;
    typename Nodes::iterator self;
  };

 public:
  explicit CList(INT_PTR /*nBlockSize*/ = 10) {}
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;

  INT_PTR GetCount() const { return static_cast<INT_PTR>(m_nodes.size()); }
  INT_PTR GetSize() const { return GetCount(); }
  BOOL IsEmpty() const { return m_nodes.empty(); }

  TYPE& GetHead() { return NonEmpty().front().data; }
  const TYPE& GetHead() const { return const_cast<CList*>(this)->GetHead(); }
  TYPE& GetTail() { return NonEmpty().back().data; }
  const TYPE& GetTail() const { return const_cast<CList*>(this)->GetTail(); }

  POSITION AddHead(ARG_TYPE newElement) { return Emplace(m_nodes.begin(), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return Emplace(m_nodes.end(), newElement); }
  void AddHead(CList* pNewList) {
    if (pNewList == nullptr || pNewList == this) {
      AfxThrowInvalidArgException();
    }
    for (auto it = pNewList->m_nodes.rbegin(); it != pNewList->m_nodes.rend(); ++it) {
      AddHead(it->data);
    }
  }
  void AddTail(CList* pNewList) {
    if (pNewList == nullptr || pNewList == this) {
      AfxThrowInvalidArgException();
    }
    for (const Node& n : pNewList->m_nodes) {
      AddTail(n.data);
    }
  }

  TYPE RemoveHead() {
    TYPE value = std::move(NonEmpty().front().data);
    m_nodes.pop_front();
    return value;
  }
  TYPE RemoveTail() {
    TYPE value = std::move(NonEmpty().back().data);
    m_nodes.pop_back();
    return value;
  }
  void RemoveAll() { m_nodes.clear(); }

  POSITION GetHeadPosition() const { return m_nodes.empty() ? nullptr : ToPos(m_nodes.front()); }
  POSITION GetTailPosition() const { return m_nodes.empty() ? nullptr : ToPos(m_nodes.back()); }

  // Return the element at rPosition and move rPosition to the next/previous
  // one (nullptr past either end).
  TYPE& GetNext(POSITION& rPosition) {
    Node& node = FromPos(rPosition);
    auto it = std::next(node.self);
    rPosition = it == m_nodes.end() ? nullptr : ToPos(*it);
    return node.data;
  }
  const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
  TYPE& GetPrev(POSITION& rPosition) {
    Node& node = FromPos(rPosition);
    rPosition = node.self == m_nodes.begin() ? nullptr : ToPos(*std::prev(node.self));
    return node.data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }

  TYPE& GetAt(POSITION position) { return FromPos(position).data; }
  const TYPE& GetAt(POSITION position) const { return const_cast<CList*>(this)->FromPos(position).data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { FromPos(pos).data = newElement; }
  void RemoveAt(POSITION position) { m_nodes.erase(FromPos(position).self); }

  // A null position inserts at the head (InsertBefore) or tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    return position == nullptr ? AddHead(newElement) : Emplace(FromPos(position).self, newElement);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    return position == nullptr ? AddTail(newElement) : Emplace(std::next(FromPos(position).self), newElement);
  }

  // First element equal to searchValue after startAfter (from the head when
  // null); nullptr when there is none.
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    auto it = startAfter == nullptr ? m_nodes.begin() : std::next(const_cast<CList*>(this)->FromPos(startAfter).self);
    for (; it != m_nodes.end(); ++it) {
      if (it->data == searchValue) {
        return ToPos(*it);
      }
    }
    return nullptr;
  }
  // Position of the nIndex-th element (0-based); nullptr when out of range.
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
      return nullptr;
    }
    auto it = m_nodes.begin();
    std::advance(it, nIndex);
    return ToPos(*it);
  }

 private:
  static POSITION ToPos(const Node& node) { return reinterpret_cast<POSITION>(const_cast<Node*>(&node)); }
  static Node& FromPos(POSITION pos) {
    if (pos == nullptr) {
      AfxThrowInvalidArgException();
    }
    return *reinterpret_cast<Node*>(pos);
  }
  Nodes& NonEmpty() {
    if (m_nodes.empty()) {
      AfxThrowInvalidArgException();
    }
    return m_nodes;
  }
  POSITION Emplace(typename Nodes::iterator before, ARG_TYPE value) {
    auto it = m_nodes.insert(before, Node{TYPE(value), {}});
    it->self = it;
    return ToPos(*it);
  }

  Nodes m_nodes;
};

// ------------------------------------------------------------------ CMap

namespace platform_detail {
inline UINT HashText(const char* psz) {
  // Multiply-by-33 string hash, 32-bit.
  UINT h = 0;
  for (; psz != nullptr && *psz != '\0'; ++psz) {
    h = (h << 5) + h + static_cast<unsigned char>(*psz);
  }
  return h;
}
}  // namespace platform_detail

// Hash of a map key: text for strings (const char*, char*, CString, which
// all hash alike so a CString key can be looked up with a const char*),
// the value for integers and enums, the address for other pointers.
// Specialise it for other key types, as with the framework.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
  using K = std::remove_cvref_t<ARG_KEY>;
  if constexpr (std::is_convertible_v<const K&, const char*> && !std::is_same_v<K, std::nullptr_t>) {
    return platform_detail::HashText(static_cast<const char*>(key));
  } else if constexpr (std::is_integral_v<K> || std::is_enum_v<K>) {
    const auto v = static_cast<uint64_t>(key);
    return static_cast<UINT>(v ^ (v >> 32));
  } else if constexpr (std::is_pointer_v<K>) {
    return static_cast<UINT>(reinterpret_cast<uintptr_t>(key) >> 4);
  } else {
    return static_cast<UINT>(std::hash<K>{}(key));
  }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
  struct Hasher {
    size_t operator()(const KEY& key) const { return HashKey<ARG_KEY>(key); }
  };
  using Table = std::unordered_map<KEY, VALUE, Hasher>;

 public:
  // The block size only tuned the framework's allocator; it is accepted and unused.
  explicit CMap(INT_PTR /*nBlockSize*/ = 10) {}
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;

  INT_PTR GetCount() const { return static_cast<INT_PTR>(m_table.size()); }
  INT_PTR GetSize() const { return GetCount(); }
  BOOL IsEmpty() const { return m_table.empty(); }

  // Sizes the table for about hashSize keys (a prime near the expected
  // count works best, as with the framework).
  void InitHashTable(UINT hashSize, BOOL /*bAllocNow*/ = TRUE) { m_table.rehash(hashSize); }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    auto it = m_table.find(KEY(key));
    if (it == m_table.end()) {
      return FALSE;
    }
    rValue = it->second;
    return TRUE;
  }
  // Inserts a default VALUE when the key is new.
  VALUE& operator[](ARG_KEY key) { return m_table[KEY(key)]; }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { m_table[KEY(key)] = newValue; }
  BOOL RemoveKey(ARG_KEY key) { return m_table.erase(KEY(key)) > 0 ? TRUE : FALSE; }
  void RemoveAll() { m_table.clear(); }

  // Iteration in no particular order:
  //   for (POSITION p = m.GetStartPosition(); p != nullptr;) m.GetNextAssoc(p, k, v);
  // Removing the key just returned is safe; adding keys is not.
  POSITION GetStartPosition() const { return m_table.empty() ? nullptr : ToPos(*m_table.begin()); }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    if (rNextPosition == nullptr) {
      AfxThrowInvalidArgException();
    }
    const auto& entry = *reinterpret_cast<const typename Table::value_type*>(rNextPosition);
    auto it = m_table.find(entry.first);
    if (it == m_table.end() || &*it != &entry) {
      AfxThrowInvalidArgException();  // a position from another map
    }
    rKey = it->first;
    rValue = it->second;
    ++it;
    rNextPosition = it == m_table.end() ? nullptr : ToPos(*it);
  }

 private:
  static POSITION ToPos(const typename Table::value_type& entry) {
    return reinterpret_cast<POSITION>(const_cast<typename Table::value_type*>(&entry));
  }

  Table m_table;
};
