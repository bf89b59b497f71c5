#include "editor/fortranhighlighter.h"

#include <algorithm>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"

namespace vortan {

TSynFortranSyn::TSynFortranSyn() {
  attributes_[faComment].Italic = true;
  attributes_[faKey].Bold = true;
}

int TSynFortranSyn::AttributeIndexOf(TTokenKind kind) {
  switch (kind) {
    case TTokenKind::Comment:
      return faComment;
    case TTokenKind::Identifier:
      return faIdentifier;
    case TTokenKind::Key:
      return faKey;
    case TTokenKind::Number:
      return faNumber;
    case TTokenKind::Space:
      return faSpace;
    case TTokenKind::String:
      return faString;
    case TTokenKind::Symbol:
      return faSymbol;
    case TTokenKind::Unknown:
      return faIdentifier;
    case TTokenKind::Null:
      break;
  }
  return -1;
}

const THighlightAttribute* TSynFortranSyn::GetTokenAttribute() const {
  const int index = AttributeIndexOf(GetTokenKind());
  return index < 0 ? nullptr : &attributes_[static_cast<std::size_t>(index)];
}

const char* TSynFortranSyn::AttributeName(int index) {
  static constexpr const char* kNames[FortranAttributeCount] = {
      "Comment", "Identifier", "Reserved Word", "Number", "Space", "String", "Symbol"};
  return index >= 0 && index < FortranAttributeCount ? kNames[index] : "";
}

const THighlightAttribute& TSynFortranSyn::Attribute(int index) const {
  return attributes_[static_cast<std::size_t>(std::clamp(index, 0, FortranAttributeCount - 1))];
}

void TSynFortranSyn::SetAttribute(int index, const THighlightAttribute& value) {
  if (index < 0 || index >= FortranAttributeCount) return;
  attributes_[static_cast<std::size_t>(index)] = value;
  Changed();
}

void TSynFortranSyn::SetAttributes(const TAttributes& attributes) {
  attributes_ = attributes;
  Changed();
}

void TSynFortranSyn::SetIgnoredAttribute(const THighlightAttribute& value) {
  ignored_ = value;
  Changed();
}

const THighlightAttribute& TSynFortranSyn::GetDefaultAttribute(TGenericAttribute which) const {
  switch (which) {
    case TGenericAttribute::Comment:
      return attributes_[faComment];
    case TGenericAttribute::Identifier:
      return attributes_[faIdentifier];
    case TGenericAttribute::Keyword:
      return attributes_[faKey];
    case TGenericAttribute::String:
      return attributes_[faString];
    case TGenericAttribute::Whitespace:
      return attributes_[faSpace];
    case TGenericAttribute::Symbol:
      return attributes_[faSymbol];
  }
  return attributes_[faIdentifier];
}

void TSynFortranSyn::LoadAttributes(TSettingsStore& store) {
  for (std::size_t i = 0; i < attributes_.size(); ++i) {
    const int id = sidHighlightComment + static_cast<int>(i);
    const char* defaultText = SettingsTable[static_cast<std::size_t>(id)].DefaultText;
    attributes_[i] = AttributeFromStored(store.ReadString(id), defaultText);
  }
  ignored_ = AttributeFromStored(
      store.ReadString(sidFixedFormPastColumn72),
      SettingsTable[static_cast<std::size_t>(sidFixedFormPastColumn72)].DefaultText);
  Changed();
}

void TSynFortranSyn::SaveAttributes(TSettingsStore& store) const {
  for (std::size_t i = 0; i < attributes_.size(); ++i)
    store.WriteString(sidHighlightComment + static_cast<int>(i), AttributeToText(attributes_[i]));
  store.WriteString(sidFixedFormPastColumn72, AttributeToText(ignored_));
}

int TSynFortranSyn::AddChangeHandler(std::function<void()> handler) {
  handlers_.emplace_back(nextHandlerId_, std::move(handler));
  return nextHandlerId_++;
}

void TSynFortranSyn::RemoveChangeHandler(int id) {
  std::erase_if(handlers_, [id](const auto& h) { return h.first == id; });
}

void TSynFortranSyn::Changed() {
  // A handler may remove itself while it runs.
  const auto handlers = handlers_;
  for (const auto& h : handlers) h.second();
}

bool TSynFortranSyn::IsWordChar(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         (c >= 192 && c != 215 && c != 247);
}

}  // namespace vortan
