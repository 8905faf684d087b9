#pragma once

// Simple drawings made of the engine's own shapes, one for each kind of
// section: a flag for the mission, people for the team, a pie for the market
// and so on. Each is drawn into a square centred in the box it is given and
// placed as one vector picture with a description of what it shows: a slide
// then holds its texts and a single drawing, which a tagged PDF carries as
// one figure with its alternative text (a group would become a figure per
// shape, none of them described).
#include <QString>

#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <initializer_list>
#include <map>
#include <utility>

struct Box {
    int x, y, width, height;
};

struct Palette {
    sal_Int32 dark, accent, highlight, muted, paper;
};

class SectionDrawings {
public:
    // The picture is made through a file in workFolder; coverage adds up
    // the area each colour fills, in square hundredths of a millimetre.
    SectionDrawings(css::uno::Reference<css::uno::XComponentContext> context,
                    css::uno::Reference<css::lang::XMultiServiceFactory> factory, Palette palette, QString workFolder,
                    std::map<sal_Int32, double>& coverage)
        : mContext(std::move(context)),
          mFactory(std::move(factory)),
          mColours(palette),
          mWorkFolder(std::move(workFolder)),
          mCoverage(coverage)
    {
    }

    // Draws the kind of drawing named by the description; an unknown kind is
    // a fault of the description and throws.
    void draw(const css::uno::Reference<css::drawing::XDrawPage>& slide, const QString& kind, Box box);

    // What the kind of drawing shows, for those who cannot see it.
    static QString description(const QString& kind);

private:
    void drawShapes(const QString& kind);
    // Replaces the group on slide by one picture of it, described.
    void replaceByPicture(const css::uno::Reference<css::drawing::XDrawPage>& slide, const QString& description);
    // Lengths below are in hundredths of the drawing's square.
    void fill(const css::uno::Reference<css::drawing::XShape>& shape, sal_Int32 colour);
    void rectangle(double x, double y, double width, double height, sal_Int32 fill, int cornerRadius = 0);
    void ellipse(double x, double y, double width, double height, sal_Int32 fill);
    void pieSlice(double x, double y, double size, int fromDegrees, int toDegrees, sal_Int32 fill);
    using Points = std::initializer_list<std::pair<double, double>>;
    void polygon(Points points, sal_Int32 fill);
    // Width in hundredths of a unit.
    void polyline(Points points, sal_Int32 colour, int width);

    css::uno::Reference<css::drawing::XShape> add(const char* service, double x, double y, double width, double height);
    css::uno::Reference<css::drawing::XShape> addPath(const char* service, Points points);
    int at(double units) const { return static_cast<int>(units * mSide / 100.0); }

    css::uno::Reference<css::uno::XComponentContext> mContext;
    css::uno::Reference<css::lang::XMultiServiceFactory> mFactory;
    Palette mColours;
    QString mWorkFolder;
    std::map<sal_Int32, double>& mCoverage;
    css::uno::Reference<css::drawing::XShapes> mGroup;
    int mLeft = 0;
    int mTop = 0;
    int mSide = 0;
};
