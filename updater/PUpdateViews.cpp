#include "PUpdateViews.h"

PExtractView::~PExtractView() = default;

PMakeView::~PMakeView() = default;
