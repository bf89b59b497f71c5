#include "shell/iconsets.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "shell/actiontable.h"

// The pictures live in a static library: their registration must be pulled in by name.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace vortan {

namespace {
void EnsureResources() {
  static const bool done = [] {
    InitIconResources();
    return true;
  }();
  (void)done;
}
}  // namespace

QIcon TIconSets::Load(const QString& resource) {
  EnsureResources();
  // The SVG icon engine draws each picture when it is first shown, at the size it is shown,
  // so start-up does not render every picture of the set.
  static const bool engine = !QIcon(QStringLiteral(":/icons/source.svg")).pixmap(16, 16).isNull();
  if (engine) return QIcon(resource);
  QSvgRenderer renderer(resource);
  if (!renderer.isValid()) return {};
  QIcon drawn;
  for (int size : {16, 32}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    renderer.render(&p);
    p.end();
    drawn.addPixmap(pm);
  }
  return drawn;
}

void TIconSets::Ensure(int set) {
  if (loaded_[std::size_t(set)]) return;
  loaded_[std::size_t(set)] = true;
  std::vector<QIcon>& images = sets_[std::size_t(set)];
  const QString folder = QString::fromLatin1(IconSetFolder(set));
  for (const char* name : IconSetImages(set))
    images.push_back(Load(QStringLiteral(":/icons/%1/%2.svg").arg(folder, QLatin1String(name))));
}

QIcon TIconSets::Icon(int set, int index) {
  if (set < 0 || set >= IconSetCount || index < 0) return {};
  Ensure(set);
  const std::vector<QIcon>& images = sets_[std::size_t(set)];
  return std::size_t(index) < images.size() ? images[std::size_t(index)] : QIcon();
}

int TIconSets::Count(int set) {
  if (set < 0 || set >= IconSetCount) return 0;
  Ensure(set);
  return int(sets_[std::size_t(set)].size());
}

QIcon TIconSets::SourceIcon() {
  if (source_.isNull()) source_ = Load(QStringLiteral(":/icons/source.svg"));
  return source_;
}

}  // namespace vortan
