#pragma once

#include <QString>

// What a person types into a search box is matched without regard to case or accents in every
// script: "école" finds "École", "ΆΝΝΑ" finds "άννα". Unlike the file-name comparisons
// (CaseFold), this is Unicode case folding after the accents are taken apart and dropped.
namespace SearchFold {

QString fold(const QString &text);

} // namespace SearchFold
