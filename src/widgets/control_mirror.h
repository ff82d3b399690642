#pragma once

#include <string>
#include <vector>

class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabBar;

namespace brillora {

// Showing a window's toolkit-free state in its widgets. Each helper changes
// only what differs and blocks the widget's signals meanwhile, so that a shown
// state never comes back to the core as if the user had made it.

void ShowText(QLabel* label, const std::string& text);
void ShowText(QLineEdit* edit, const std::string& text);

// A drop-down list: its items and the selected one (-1, or an empty list: none).
void ShowList(QComboBox* list, const std::vector<std::string>& items, int index);
// An editable list also shows the text of its edit field, which need not be
// one of its items.
void ShowList(QComboBox* list, const std::vector<std::string>& items, int index,
              const std::string& text);

// A set of text tabs and the selected one.
void ShowTabs(QTabBar* tabs, const std::vector<std::string>& items, int index);
// Only the selection, for tabs that show pictures rather than texts.
void ShowCurrentTab(QTabBar* tabs, int index);

void ShowPosition(QAbstractSlider* bar, int minimum, int maximum, int position);
void ShowValue(QDoubleSpinBox* spin, double minimum, double maximum, double value);
void ShowValue(QSpinBox* spin, int minimum, int maximum, int value);
void ShowChecked(QAbstractButton* box, bool checked);

}  // namespace brillora
