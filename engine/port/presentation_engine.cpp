#include "engine/port/presentation_engine.h"

std::shared_ptr<Presentation> PresentationsRef::Open(const QString& fileName)
{
    return mApp.open(fileName, true);
}

std::shared_ptr<Presentation> PresentationsRef::OpenWithoutWindow(const QString& fileName)
{
    return mApp.open(fileName, false);
}

int PresentationsRef::Count()
{
    return mApp.presentationCount();
}

QString SelectedTextRef::Text()
{
    return mApp.selectedText();
}

void SelectedTextRef::setText(const QString& text)
{
    mApp.replaceSelectedText(text);
}

void ShapeTextRef::Select()
{
    mApp.selectShapeText(mStart, mLength);
}

float SelectedTextRef::ShownSize()
{
    return mApp.selectedTextShownSize();
}

void SelectedTextRef::FitToShape()
{
    mApp.fitSelectedTextToShape();
}

void SelectedTextRef::setFontSize(float points)
{
    mApp.setSelectedTextSize(points);
}

void SelectionRef::Unselect()
{
    app.unselect();
}

void SlideRef::Select()
{
    presentation.selectSlide(slide);
}

void SlideRef::Duplicate()
{
    presentation.duplicateSlide(slide);
}

void SlideRef::setFooterText(const QString& text)
{
    presentation.setFooterText(slide, text);
}

void SlideRef::setNotesText(const QString& text)
{
    presentation.setNotesText(slide, text);
}

void SlideRef::AddChart(const ChartData& chart)
{
    presentation.replaceBodyWithChart(slide, chart);
}

TableFit SlideRef::AddTable(const TableData& table)
{
    return presentation.replaceBodyWithTable(slide, table);
}

void SlideRef::Delete()
{
    presentation.deleteSlide(slide);
}

ShapeRef SlideRef::Shapes(TextShape shape)
{
    return ShapeRef{presentation, slide, presentation.shapeName(shape)};
}

void ShapeRef::Select()
{
    presentation.selectShape(slide, name);
}

void SlideShowSettingsRef::setShowType(int type)
{
    presentation.setShowType(type);
}

std::shared_ptr<SlideShowWindow> SlideShowSettingsRef::Run()
{
    return presentation.runShow();
}
