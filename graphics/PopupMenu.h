#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plugkit::gfx {

// A menu shown by the platform for value prompts and context menus; this editor fills none.
class PopupMenu {
 public:
  struct Item {
    std::string text;
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    std::unique_ptr<PopupMenu> submenu;
  };

  void Clear() {
    items_.clear();
    chosenIndex_ = -1;
  }
  Item& AddItem(std::string text, bool checked = false) {
    items_.push_back(Item{std::move(text), true, checked, false, nullptr});
    return items_.back();
  }
  void AddSeparator() { items_.push_back(Item{{}, false, false, true, nullptr}); }

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const Item& GetItem(int i) const { return items_[static_cast<std::size_t>(i)]; }

  // 0: no numbering; 1, 2, 3: items are numbered with that many digits.
  int Numbering() const { return numbering_; }
  void SetNumbering(int digits) { numbering_ = digits; }
  // Start a new column every n items (0: never).
  int ItemsPerColumn() const { return itemsPerColumn_; }
  void SetItemsPerColumn(int n) { itemsPerColumn_ = n; }

  int ChosenIndex() const { return chosenIndex_; }
  void SetChosenIndex(int i) { chosenIndex_ = i; }

  // Runs when the platform reports a choice from this menu.
  std::function<void(PopupMenu&)> onChoice;

 private:
  std::vector<Item> items_;
  int numbering_ = 0;
  int itemsPerColumn_ = 0;
  int chosenIndex_ = -1;
};

}  // namespace plugkit::gfx
