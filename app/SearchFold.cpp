#include "app/SearchFold.h"

namespace SearchFold {

QString fold(const QString &text)
{
    // Decomposition puts each accent after its letter as a mark of its own; the marks that sit
    // on a letter go, the ones that are letters' own vowels (spacing marks) stay.
    const QString parts = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(parts.size());
    for (const QChar c : parts) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    }
    return out.toCaseFolded();
}

} // namespace SearchFold
