#pragma once
// The quantity dialog: one dated quantity of a product, the date picked from
// the recently used ones (pDateStr) or typed.

#include <QDialog>

class AppState;
class Prompt;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

class TEditQntDlg : public QDialog {
    Q_OBJECT
public:
    TEditQntDlg(AppState& st, Prompt& prompt, QWidget* parent = nullptr);

    QPushButton* OKBtn;
    QLabel* Label2;
    QLabel* itemNoLab;
    QLabel* Label4;
    QLineEdit* QuantEdit;
    // The up-down arrows beside QuantEdit (-999..999); holds the negated quantity.
    QScrollBar* UDQuant;
    QComboBox* DateCB;

    // Starts the dialog on qnt (0 when not an integer) and date. A stored
    // quantity beyond the arrows' range is shown and kept as it is.
    void setEntry(const QString& qnt, const QString& date);
    QString dateText() const;
    QString qntText() const;
    // The quantity setEntry started on.
    QString storedQnt() const { return m_stored; }

    // "Fermer": an entry that cannot be stored is refused with its message
    // and the dialog stays open; otherwise the date joins the history.
    void accept() override;

private:
    void addToHistory(const QString& date);

    AppState& st;
    Prompt& prompt;
    QString m_stored;
};
