#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brillora {

// The entries of one editable material list: each entry reads "3.52 Diamond",
// the value in its first four characters and the name from the sixth on. The
// list keeps its entries sorted by text (without regard to case) unless told
// to stand in name order; the text in its edit field is independent of the
// entries, as the user may type anything there.
class MaterialList {
 public:
  // Adds an entry where the sorted order puts it; returns its index.
  int Add(std::string entry);

  const std::vector<std::string>& Entries() const { return entries_; }
  // The entry whose text the edit field shows, or -1 when it shows none.
  int ItemIndex() const { return itemIndex_; }
  const std::string& Text() const { return text_; }

  void Select(int index);
  void SetText(std::string text);

  // Index of the first entry, in list order, whose name equals `name` exactly.
  int FindName(std::string_view name) const;

  // Puts the entries in order of their names; the texts stay "value name".
  void ArrangeByName();
  // Puts the entries back in order of their texts, and so of their values.
  void ArrangeByValue();

 private:
  void Resync();

  std::vector<std::string> entries_;
  std::string text_;
  int itemIndex_ = -1;
};

// The text of a material's entry: the value with 2 decimals in a field of 4,
// one space, the name.
std::string MaterialEntry(double value, std::string_view name);

// The name part of an entry's text: everything from its sixth character on.
std::string_view EntryName(std::string_view text);

}  // namespace brillora
