#pragma once
// The page shown in the print preview: one page of the print engine at a scale, centred on a
// grey desk. A left click zooms in, a right click zooms out.

#include <QImage>
#include <QWidget>

namespace vortan {

class TPrintEngine;

class TPreviewPane : public QWidget {
  Q_OBJECT
 public:
  TPreviewPane(TPrintEngine& engine, QWidget* parent = nullptr);

  /// Device units of the printer to screen pixels.
  void SetScale(double scale);
  double Scale() const { return scale_; }
  /// Shows a page, limited to the existing ones.
  void SetPage(int page);
  int Page() const { return page_; }
  /// Drops the rendered picture (the settings or the printer changed).
  void Invalidate();
  /// The page as shown (rendered when needed).
  const QImage& PageImage();

 signals:
  void PageChanged(int page);
  void ZoomInRequested();
  void ZoomOutRequested();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  QSize sizeHint() const override;

 private:
  TPrintEngine& engine_;
  double scale_ = 0.1;
  int page_ = 1;
  QImage image_;
};

}  // namespace vortan
