#pragma once

#include <QByteArray>
#include <QString>

// A page saved as a MIME web archive (.mht): the text of its HTML and plain text parts, read
// with the mail library's MIME parser.
namespace WebArchive {

// The readable text of the archive's HTML and plain text parts, each decoded from its
// transfer encoding and its character set; title set to the first page title, else to the
// archive's subject.
QString text(const QByteArray &bytes, QString *title = nullptr);

} // namespace WebArchive
