#pragma once
// The published files may come as the statistics office serves them: a .zip holding the
// .csv. An input that is a ZIP archive is unpacked (libzip) into a temporary folder and
// the .csv inside is read instead; any other file is read as it is.

#include <QString>
#include <QTemporaryDir>

#include <memory>

class TUnpackedInput {
public:
    // Path: the file given. Kind: the word the wanted .csv's name contains ("TERC",
    // "SIMC"), used only when the archive holds more than one .csv.
    TUnpackedInput(const QString& Path, const QString& Kind);

    // False with Error naming the archive when it is damaged, empty, holds no .csv or
    // several without one of the Kind.
    bool Ok() const { return m_error.isEmpty(); }
    const QString& Error() const { return m_error; }
    // The .csv to read: the file given, or the one unpacked from the archive.
    const QString& CsvPath() const { return m_csv; }
    bool IsArchive() const { return m_archive; }
    // A reader's message about the .csv, prefixed with the archive's name when it came from one.
    QString Explain(const QString& ReaderError) const;

private:
    QString m_path, m_csv, m_error;
    bool m_archive = false;
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Whether the file begins like a ZIP archive (or is named *.zip).
bool LooksLikeZip(const QString& Path);
