#pragma once

#include "snifferreading.h"

#include <QWidget>

#include <optional>

class PacketTableModel;
class ReaderInput;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;

// Reads what `diagnose sniffer packet` printed, pasted, opened or dropped, into a capture file: the
// packets in a table as they are read, the selected one's bytes, the warnings with their lines, and
// the capture to save or open in Wireshark. The reading runs off the UI thread into a temporary file
// in the cache folder, which is what Save Capture copies and Wireshark opens.
class SnifferOutputView : public QWidget
{
    Q_OBJECT

public:
    explicit SnifferOutputView(QWidget *parent = nullptr);
    ~SnifferOutputView() override;

    void readFile(const QString &path);
    bool isReading() const;
    // The capture of the last complete reading, empty without one.
    QString capturePath() const { return m_capture; }

private:
    void createButtons();
    QWidget *createTimeOptions();
    QWidget *createDetailPanes();
    void addShortcuts();
    void cancelled();
    // Reads the kept input again with the options as they are now.
    void startReading();
    void received(SnifferReading::Batch &&batch);
    void finished(const SnifferReading::Outcome &outcome);
    void showSelectedPacket();
    void showPacketAtLine(qint64 line);
    void saveCapture();
    void openInWireshark();
    void updateActions();
    void removeCapture();
    SnifferCapture::Settings settings() const;
    QString newCapturePath();

    ReaderInput *m_input;
    PacketTableModel *m_model;
    QTableView *m_table;
    QPlainTextEdit *m_bytes = nullptr;
    QTabWidget *m_details = nullptr;
    QListWidget *m_warnings = nullptr;
    QLineEdit *m_search;
    QLabel *m_matches;
    QPushButton *m_save = nullptr;
    QPushButton *m_wireshark = nullptr;
    QDateTimeEdit *m_start = nullptr;
    QComboBox *m_offset = nullptr;

    // The start of relative times for this input: now for a paste, the log's own for a file once read,
    // or what the user set.
    std::optional<qint64> m_startMicros;
    // The settings of the reading the table shows, the start filled in: a pcap is made with the same.
    SnifferCapture::Settings m_readSettings;
    QString m_reading; // the capture being written
    QString m_capture; // the capture of the last complete reading
    qint64 m_dataOffset;
    QString m_wiresharkPath;
};
