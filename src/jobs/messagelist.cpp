#include "jobs/messagelist.h"

#include <algorithm>

namespace vortan {

namespace {

void SortLevel(std::vector<TMessageNode>& nodes, const TMessageOrder& order) {
  std::stable_sort(nodes.begin(), nodes.end(), [&](const TMessageNode& a, const TMessageNode& b) {
    return CompareMessages(a.Data, b.Data, order) < 0;
  });
  for (TMessageNode& node : nodes) SortLevel(node.Children, order);
}

void ForgetEditor(std::vector<TMessageNode>& nodes, const TfrmEditor* editor) {
  for (TMessageNode& node : nodes) {
    if (node.Data.Editor == editor) node.Data.Editor = nullptr;
    ForgetEditor(node.Children, editor);
  }
}

}  // namespace

void TMessageList::BeginUpdate() { ++updates_; }

void TMessageList::EndUpdate() {
  if (updates_ == 0 || --updates_ > 0) return;
  Sort();
  if (OnChanged) OnChanged();
}

void TMessageList::Add(std::vector<TMessageNode> nodes) {
  BeginUpdate();
  if (top_.empty())
    top_ = std::move(nodes);
  else
    top_.insert(top_.end(), std::make_move_iterator(nodes.begin()),
                std::make_move_iterator(nodes.end()));
  EndUpdate();
}

void TMessageList::Add(TMessageNode node) {
  BeginUpdate();
  top_.push_back(std::move(node));
  EndUpdate();
}

void TMessageList::Clear() {
  BeginUpdate();
  top_.clear();
  EndUpdate();
}

void TMessageList::RemoveEditorMessages(const TfrmEditor* editor) {
  if (editor == nullptr) return;
  BeginUpdate();
  std::erase_if(top_, [editor](const TMessageNode& n) { return n.Data.Editor == editor; });
  // A window that is gone must not be reachable from what is left.
  ForgetEditor(top_, editor);
  EndUpdate();
}

void TMessageList::RemoveGroup(const std::string& text) {
  BeginUpdate();
  std::erase_if(top_, [&](const TMessageNode& n) { return n.Data.Text == text; });
  EndUpdate();
}

int TMessageList::FirstError() const {
  for (std::size_t i = 0; i < top_.size(); ++i)
    if (top_[i].Data.Kind == mkError) return static_cast<int>(i);
  return -1;
}

void TMessageList::Sort() {
  TMessageOrder order;
  order.Active = ActiveEditor ? ActiveEditor() : nullptr;
  order.WindowRank = WindowRank;
  SortLevel(top_, order);
}

}  // namespace vortan
