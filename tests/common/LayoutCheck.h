#pragma once
// Checks a window as it is drawn, with the fonts its controls really use: every text fits its
// control, every control lies inside the inner area of the group box it sits in, and the menu
// bar shows every entry. Each fault is one line naming the control and its text.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>

namespace layout_check {

inline QString Plain(QString Text)
{
    // "&&" stands for "&"; a lone "&" marks the accelerator and takes no room.
    Text.replace(QLatin1String("&&"), QString(QChar(0xFFFF)));
    Text.remove(QLatin1Char('&'));
    Text.replace(QChar(0xFFFF), QLatin1Char('&'));
    return Text;
}

inline QString Describe(const QWidget *W, const QString &Text)
{
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(W->metaObject()->className()), Text);
}

}  // namespace layout_check

inline QStringList LayoutFaults(QWidget *Window)
{
    using namespace layout_check;
    QStringList faults;
    const auto fault = [&faults](const QWidget *W, const QString &Text, const QString &What) {
        faults << Describe(W, Text) + QStringLiteral(": ") + What;
    };
    const auto tooSmall = [&](const QWidget *W, const QString &Text, QSize Need, QSize Has) {
        if (Need.width() > Has.width())
            fault(W, Text, QStringLiteral("needs %1 px wide, has %2").arg(Need.width()).arg(Has.width()));
        if (Need.height() > Has.height())
            fault(W, Text, QStringLiteral("needs %1 px high, has %2").arg(Need.height()).arg(Has.height()));
    };
    QList<QWidget *> widgets = Window->findChildren<QWidget *>();
    widgets.prepend(Window);
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(Window) && w != Window)
            continue;
        w->ensurePolished();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (!label->text().isEmpty() && !label->wordWrap())
                tooSmall(label, label->text(), label->sizeHint(), label->size());
        } else if (auto *push = qobject_cast<QPushButton *>(w)) {
            // The style's own minimum width of a push button is no measure of its text.
            const QString text = Plain(push->text());
            const int margin = push->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push);
            tooSmall(push, text, QSize(push->fontMetrics().horizontalAdvance(text) + margin, push->fontMetrics().height()),
                     push->size());
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (!button->text().isEmpty() && !qobject_cast<QToolButton *>(w))
                tooSmall(button, Plain(button->text()), button->sizeHint(), button->size());
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            int widest = 0;
            for (int i = 0; i < combo->count(); ++i)
                widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
            QStyleOptionComboBox opt;
            opt.initFrom(combo);
            const QRect field =
                combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
            if (widest > field.width())
                fault(combo, combo->currentText(),
                      QStringLiteral("items need %1 px, the field has %2").arg(widest).arg(field.width()));
        } else if (auto *box = qobject_cast<QGroupBox *>(w)) {
            if (!box->title().isEmpty()) {
                QStyleOptionGroupBox opt;
                opt.initFrom(box);
                opt.text = box->title();
                opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
                opt.lineWidth = 1;
                opt.textAlignment = box->alignment();
                const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
                // Blanks at the end of a title draw nothing, and the style leaves them out.
                QString shown = Plain(box->title());
                while (shown.endsWith(QLatin1Char(' '))) shown.chop(1);
                const int need = box->fontMetrics().horizontalAdvance(shown);
                if (need > title.width() || title.right() >= box->width())
                    fault(box, box->title(), QStringLiteral("title needs %1 px, has %2").arg(need).arg(
                                                 std::min(title.width(), box->width() - title.left())));
            }
        } else if (auto *bar = qobject_cast<QMenuBar *>(w)) {
            for (QAction *a : bar->actions()) {
                if (!a->isVisible() || a->isSeparator())
                    continue;
                const QRect r = bar->actionGeometry(a);
                if (r.isEmpty() || !bar->rect().contains(r))
                    fault(bar, Plain(a->text()), QStringLiteral("menu entry not shown in a bar %1 px wide").arg(bar->width()));
            }
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabVisible(i) && !tabs->rect().contains(tabs->tabRect(i)))
                    fault(tabs, Plain(tabs->tabText(i)), QStringLiteral("tab not shown in a bar %1 px wide").arg(tabs->width()));
        }
        // A text control that reaches past its parent is cut where the parent ends.
        const bool textControl = qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w) ||
                                 qobject_cast<QComboBox *>(w) || qobject_cast<QGroupBox *>(w);
        if (textControl && w != Window && w->parentWidget() && !w->parentWidget()->rect().contains(w->geometry())) {
            const auto *label = qobject_cast<QLabel *>(w);
            const auto *button = qobject_cast<QAbstractButton *>(w);
            fault(w, label ? label->text() : button ? Plain(button->text()) : QString(),
                  QStringLiteral("reaches past its parent (%1 px wide)").arg(w->parentWidget()->width()));
        }
        // A control in a group box stays off its frame and its title.
        if (auto *parentBox = qobject_cast<QGroupBox *>(w->parentWidget()); parentBox && w->isVisibleTo(Window)) {
            if (!parentBox->contentsRect().contains(w->geometry())) {
                const auto *b = qobject_cast<QAbstractButton *>(w);
                fault(w, b ? Plain(b->text()) : QString(),
                      QStringLiteral("lies outside the inner area of group \"%1\"").arg(parentBox->title()));
            }
        }
    }
    return faults;
}
