#pragma once
// Locators let the user jump in a browse by typing: they put what was typed into the sort
// order's free element (the first key component the range leaves open), and the browse then
// positions the view on it and refills. A step locator takes one key at a time; an entry
// locator takes the text of an entry control beside the list.
//
// In a descending order the located value gets the character U+00FE appended, so that the
// list lands on the last value that starts with the typed text or before it, not after it.
#include <string>

namespace vesp {

class BrowseManager;

class Locator {
 public:
  static constexpr char32_t kDescendingMark = U'\u00FE';
  virtual ~Locator() = default;

  virtual void Destroy() { BROWSEMANAGER = nullptr; }
  virtual std::string TypedText() const { return {}; }
  virtual void Init(BrowseManager& browse, int control, int freeElement, bool noCase);
  virtual void Reset() {}
  virtual void Set();
  // The sort order changed: the locator works on `field` from now on and clears it.
  virtual void PointAt(int freeElement);
  virtual void SetTypedText(const std::string&) {}
  // The entry control was accepted with `text`; true when the browse must reposition.
  virtual bool TakeAccepted(const std::string& text);
  // A printable key typed on the list; true when the browse must reposition.
  virtual bool TakeKey(char32_t key) = 0;
  // What the locator's control shows now.
  virtual std::string Display() const { return {}; }

  BrowseManager* BROWSEMANAGER = nullptr;
  int CONTROL = 0;        // the entry control, 0 for none
  int FREEELEMENT = -1;   // field of the primary table
  bool NOCASE = false;

 protected:
  // Puts `text` into the free element (cut to the field), marked when the order descends.
  void locateAt(const std::string& text);
  std::string freeElementText() const;
};

class StepLocator : public Locator {
 public:
  bool TakeKey(char32_t key) override;
};

class EntryLocator : public Locator {
 public:
  static constexpr std::size_t kShadowChars = 40;
  std::string SHADOW;

  std::string TypedText() const override { return SHADOW; }
  void Set() override;
  void SetTypedText(const std::string& text) override;
  bool TakeAccepted(const std::string& text) override;
  // Keys go to the entry control (the browse moves the focus there); nothing to do here.
  bool TakeKey(char32_t) override { return false; }
  std::string Display() const override { return SHADOW; }
};

}  // namespace vesp
