// manual_pdf SOURCE.md PICTURES OUT.pdf
//
// Prints the user manual: the Markdown source is laid out by Qt's own rich
// text and written to A4 pages by Qt's PDF writer, with the page number at the
// foot of every page. Pictures are named in the source relative to PICTURES.
// A picture that is missing or unreadable stops the tool, so that a manual
// with holes in it is never written; the PDF is written beside its final name
// and renamed over it only when it is complete.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFormat>
#include <QTextFrame>
#include <QTextStream>
#include <QTextTable>
#include <QUrl>
#include <vector>

namespace {

// The text's own margin comes on top of the writer's: the document is
// printed with a 2 cm frame around its body, as Qt's rich text prints.
constexpr double kPageMarginMm = 5.0;
constexpr int kBodyPointSize = 10;
constexpr double kHeadingGap = 6.0;
// Side by side, three pictures 200 pixels wide fit the text's width.
constexpr double kPictureScale = 0.8;
const QColor kCodeBackground(236, 236, 236);
const QColor kRuleColour(128, 128, 128);

struct Failure {
  QString message;
};

QString ReadText(const QString& file) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) throw Failure{"cannot read " + file + ": " + in.errorString()};
  return QString::fromUtf8(in.readAll());
}

// Every picture the text names, handed to the document from PICTURES and
// printed at kPictureScale of its size on screen. A relative name that does
// not resolve would otherwise print as an empty box.
void LoadPictures(QTextDocument& document, const QDir& pictures) {
  struct Placed {
    int position;
    QTextImageFormat format;
  };
  std::vector<Placed> placed;
  QStringList missing;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextCharFormat format = fragment.fragment().charFormat();
      if (!format.isImageFormat()) continue;
      QTextImageFormat image = format.toImageFormat();
      const QImage picture(pictures.filePath(image.name()));
      if (picture.isNull()) {
        missing << image.name();
        continue;
      }
      document.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
      image.setWidth(picture.width() * kPictureScale);
      image.setHeight(picture.height() * kPictureScale);
      placed.push_back({fragment.fragment().position(), image});
    }
  }
  if (!missing.isEmpty()) {
    throw Failure{"missing or unreadable pictures in " + pictures.path() + ": " + missing.join(", ")};
  }
  // Formats change only after the walk, which a change would disturb.
  for (const Placed& p : placed) {
    QTextCursor cursor(&document);
    cursor.setPosition(p.position);
    cursor.setPosition(p.position + 1, QTextCursor::KeepAnchor);
    cursor.setCharFormat(p.format);
  }
}

bool IsCode(const QTextBlock& block) {
  return block.isValid() && block.blockFormat().hasProperty(QTextFormat::BlockCodeFence);
}

// Chapters start on a fresh page, headings stand apart from the text before
// them, and code stands on a grey ground so that a command reads apart from
// the prose around it.
void ShapeBlocks(QTextDocument& document) {
  bool firstChapter = true;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    const int level = format.headingLevel();
    if (level == 1) {
      if (!firstChapter) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      firstChapter = false;
      format.setBottomMargin(kHeadingGap);
    } else if (level > 1) {
      format.setTopMargin(kHeadingGap * 2);
      format.setBottomMargin(kHeadingGap / 2);
    } else if (IsCode(block)) {
      // Each line of code is a block of its own: only the first and the last
      // line of a listing keep air around it, so that its ground is unbroken.
      format.setBackground(kCodeBackground);
      format.setLeftMargin(kHeadingGap / 2);
      format.setTopMargin(IsCode(block.previous()) ? 0 : kHeadingGap / 2);
      format.setBottomMargin(IsCode(block.next()) ? 0 : kHeadingGap / 2);
      // A line too long for the page wraps rather than running off its edge.
      format.setNonBreakableLines(false);
    }
    QTextCursor(block).setBlockFormat(format);
  }
}

// Tables get thin ruled cells with a little air inside.
void ShapeTables(QTextFrame& frame) {
  for (QTextFrame* child : frame.childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) {
      QTextTableFormat format = table->format();
      format.setBorderCollapse(true);
      format.setBorder(1);
      format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
      format.setBorderBrush(kRuleColour);
      format.setCellPadding(3);
      format.setCellSpacing(0);
      format.setTopMargin(kHeadingGap / 2);
      format.setBottomMargin(kHeadingGap);
      table->setFormat(format);
    }
    ShapeTables(*child);
  }
}

void WritePdf(const QTextDocument& document, const QString& file) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) throw Failure{"cannot write " + file + ": " + out.errorString()};
  {
    QPdfWriter writer(&out);
    writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    writer.setCreator("Brillora");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                                     QPageLayout::Millimeter));
    // Paginates a copy of the document to the page and numbers the pages.
    document.print(&writer);
  }
  if (!out.commit()) throw Failure{"cannot write " + file + ": " + out.errorString()};
}

}  // namespace

int main(int argc, char* argv[]) {
  // Laying out text needs fonts but no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  QTextStream err(stderr);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() != 4) {
    err << "usage: manual_pdf SOURCE.md PICTURES OUT.pdf\n";
    return 2;
  }
  try {
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSize(kBodyPointSize);
    document.setDefaultFont(font);
    document.setMarkdown(ReadText(arguments.at(1)));
    document.setMetaInformation(QTextDocument::DocumentTitle, "Brillora User Manual");
    LoadPictures(document, QDir(arguments.at(2)));
    ShapeBlocks(document);
    ShapeTables(*document.rootFrame());
    WritePdf(document, arguments.at(3));
  } catch (const Failure& failure) {
    err << "manual_pdf: " << failure.message << "\n";
    return 1;
  }
  return 0;
}
