// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace palquin {

/// A group drawn flat: one background colour, a one-pixel grey border and the title across its
/// top line, left-aligned. It paints itself, so the window needs no style sheet (whose engine
/// costs start-up time). The title takes the font of the group's parent; the elements inside the
/// group take the application's font, as they did when a style sheet drew the group.
class FlatGroupBox : public QGroupBox {
  public:
    /// titleHeight: how far below the group's top the border runs, so that the title's middle
    /// lies on it; 0 for a group without a title.
    FlatGroupBox(const QString& title, const QColor& background, int titleHeight, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor background_;
    int titleHeight_;
    QFont titleFont_;
};

/// A label with a one-pixel border in a colour of its own, apart from its text's colour.
class FlatLabel : public QLabel {
  public:
    FlatLabel(const QString& text, const QColor& border, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor border_;
};

/// A line edit with a flat one-pixel border in the given colour around its Base colour, instead
/// of the style's own frame.
class FlatLineEdit : public QLineEdit {
  public:
    FlatLineEdit(const QString& text, const QColor& border, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor border_;
};

/// Gives a widget its style sheet only when it is first shown, so that a widget that is hidden at
/// start-up does not start the style sheet engine then.
class StyleSheetOnShow : public QObject {
  public:
    StyleSheetOnShow(QWidget* widget, QString styleSheet);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* widget_;
    QString styleSheet_;
};

}  // namespace palquin
