#include "params/material_list.h"

#include <algorithm>
#include <cctype>

#include "model/number_text.h"

namespace brillora {

namespace {

// Case-blind text order, as the platform's sorted lists use.
bool TextLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::string MaterialEntry(double value, std::string_view name) {
  std::string text = FormatFixed(value, 4, 2);
  text.append(" ").append(name);
  return text;
}

std::string_view EntryName(std::string_view text) {
  return text.size() > 5 ? text.substr(5) : std::string_view{};
}

int MaterialList::Add(std::string entry) {
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), entry,
                                   [](const std::string& a, const std::string& b) { return TextLess(a, b); });
  const int index = static_cast<int>(at - entries_.begin());
  entries_.insert(at, std::move(entry));
  Resync();
  return index;
}

void MaterialList::Select(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  text_ = entries_[index];
  itemIndex_ = index;
}

void MaterialList::SetText(std::string text) {
  text_ = std::move(text);
  Resync();
}

int MaterialList::FindName(std::string_view name) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (EntryName(entries_[i]) == name) return static_cast<int>(i);
  }
  return -1;
}

void MaterialList::ArrangeByName() {
  // Sorting "name value" texts puts materials of equal name in value order.
  std::stable_sort(entries_.begin(), entries_.end(), [](const std::string& a, const std::string& b) {
    const std::string keyA = std::string(EntryName(a)) + a.substr(0, 5);
    const std::string keyB = std::string(EntryName(b)) + b.substr(0, 5);
    return TextLess(keyA, keyB);
  });
  Resync();
}

void MaterialList::ArrangeByValue() {
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const std::string& a, const std::string& b) { return TextLess(a, b); });
  Resync();
}

void MaterialList::Resync() {
  const auto found = std::find(entries_.begin(), entries_.end(), text_);
  itemIndex_ = found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

}  // namespace brillora
