#pragma once
// Paints a list's cells with their texts shaped once and kept: a page of rows is shaped when
// it is first painted, and every later paint of the same texts (a highlight moving, the
// window uncovered, the same browse opened again) only draws glyphs. The shaped texts are
// shared by every list of the program; lists are painted on the GUI thread only. Looks as the style's own item painting does: panel,
// selection and focus from the style, the text elided at the right when it does not fit,
// each line of a two-line cell on its own line.
#include <QFont>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace vrt {

class ListCellPainter : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  static const QStaticText& shaped(const QString& line, int width, const QFont& font);
};

}  // namespace vrt
