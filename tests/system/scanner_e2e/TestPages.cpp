#include "TestPages.h"

namespace scannertest {

namespace {

mrzpages::PageRecipe A4Scan(const QString &format)
{
    mrzpages::PageRecipe recipe;
    recipe.format = format;
    recipe.dpi = 300;
    recipe.a4 = true;
    recipe.skew = 0.8; // nobody lays a card quite straight
    return recipe;
}

} // namespace

QImage DocumentPage(const QString &format, const specimens::MrzData &data, int turn)
{
    mrzpages::PageRecipe recipe = A4Scan(format);
    recipe.turn = turn;
    mrzpages::Random rng(31);
    return mrzpages::MakePage(recipe, data, rng).image;
}

QImage PageWithoutDocument()
{
    mrzpages::PageRecipe recipe = A4Scan(QStringLiteral("TD3"));
    recipe.hasZone = false;
    mrzpages::Random rng(32);
    const specimens::MrzData data = mrzpages::RandomData(recipe.format, rng);
    return mrzpages::MakePage(recipe, data, rng).image;
}

} // namespace scannertest
