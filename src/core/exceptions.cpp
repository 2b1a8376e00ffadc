#include "quelt/core/exceptions.h"

namespace quelt {

BaseException::BaseException() : std::runtime_error("") {}
BaseException::BaseException(const BaseException &other) = default;
BaseException &BaseException::operator=(const BaseException &other) = default;
BaseException::~BaseException() = default;

DataSetException::DataSetException() = default;
DataSetException::DataSetException(const DataSetException &other) = default;
DataSetException &DataSetException::operator=(const DataSetException &other) = default;
DataSetException::~DataSetException() = default;

BadCursor::BadCursor() = default;
BadCursor::BadCursor(const BadCursor &other) = default;
BadCursor &BadCursor::operator=(const BadCursor &other) = default;
BadCursor::~BadCursor() = default;

KeyNotFound::KeyNotFound() = default;
KeyNotFound::KeyNotFound(const KeyNotFound &other) = default;
KeyNotFound &KeyNotFound::operator=(const KeyNotFound &other) = default;
KeyNotFound::~KeyNotFound() = default;

FieldNotFound::FieldNotFound() = default;
FieldNotFound::FieldNotFound(const FieldNotFound &other) = default;
FieldNotFound &FieldNotFound::operator=(const FieldNotFound &other) = default;
FieldNotFound::~FieldNotFound() = default;

FieldAlreadyExists::FieldAlreadyExists() = default;
FieldAlreadyExists::FieldAlreadyExists(const FieldAlreadyExists &other) = default;
FieldAlreadyExists &FieldAlreadyExists::operator=(const FieldAlreadyExists &other) = default;
FieldAlreadyExists::~FieldAlreadyExists() = default;

PaintException::PaintException() = default;
PaintException::PaintException(const PaintException &other) = default;
PaintException &PaintException::operator=(const PaintException &other) = default;
PaintException::~PaintException() = default;

BadColorIndex::BadColorIndex() = default;
BadColorIndex::BadColorIndex(const BadColorIndex &other) = default;
BadColorIndex &BadColorIndex::operator=(const BadColorIndex &other) = default;
BadColorIndex::~BadColorIndex() = default;

SALException::SALException() = default;
SALException::SALException(const SALException &other) = default;
SALException &SALException::operator=(const SALException &other) = default;
SALException::~SALException() = default;

WindowException::WindowException() = default;
WindowException::WindowException(const WindowException &other) = default;
WindowException &WindowException::operator=(const WindowException &other) = default;
WindowException::~WindowException() = default;

TimerException::TimerException() = default;
TimerException::TimerException(const TimerException &other) = default;
TimerException &TimerException::operator=(const TimerException &other) = default;
TimerException::~TimerException() = default;

TooManyTimers::TooManyTimers() = default;
TooManyTimers::TooManyTimers(const TooManyTimers &other) = default;
TooManyTimers &TooManyTimers::operator=(const TooManyTimers &other) = default;
TooManyTimers::~TooManyTimers() = default;

TimerAlreadyExists::TimerAlreadyExists() = default;
TimerAlreadyExists::TimerAlreadyExists(const TimerAlreadyExists &other) = default;
TimerAlreadyExists &TimerAlreadyExists::operator=(const TimerAlreadyExists &other) = default;
TimerAlreadyExists::~TimerAlreadyExists() = default;

WrapperAlreadyExists::WrapperAlreadyExists() = default;
WrapperAlreadyExists::WrapperAlreadyExists(const WrapperAlreadyExists &other) = default;
WrapperAlreadyExists &WrapperAlreadyExists::operator=(const WrapperAlreadyExists &other) = default;
WrapperAlreadyExists::~WrapperAlreadyExists() = default;

MouseException::MouseException() = default;
MouseException::MouseException(const MouseException &other) = default;
MouseException &MouseException::operator=(const MouseException &other) = default;
MouseException::~MouseException() = default;

BadCursorImage::BadCursorImage() = default;
BadCursorImage::BadCursorImage(const BadCursorImage &other) = default;
BadCursorImage &BadCursorImage::operator=(const BadCursorImage &other) = default;
BadCursorImage::~BadCursorImage() = default;

}  // namespace quelt
