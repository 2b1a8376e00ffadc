#pragma once

#include <stdexcept>

#include "quelt/core/config.h"

namespace quelt {

// The library's failures. Every class carries an empty message: the class
// alone tells the failure. Constructors and assignments are defined in the
// library, so one definition of each class crosses the module boundary.

// Root of the library's own failures; never raised directly.
class QUELT_API BaseException : public std::runtime_error {
  public:
    BaseException();
    BaseException(const BaseException &other);
    BaseException &operator=(const BaseException &other);
    ~BaseException() override;
};

// Base of the data-set failures.
class QUELT_API DataSetException : public BaseException {
  public:
    DataSetException();
    DataSetException(const DataSetException &other);
    DataSetException &operator=(const DataSetException &other);
    ~DataSetException() override;
};

// A cursor or column handle without an implementation is used.
class QUELT_API BadCursor : public DataSetException {
  public:
    BadCursor();
    BadCursor(const BadCursor &other);
    BadCursor &operator=(const BadCursor &other);
    ~BadCursor() override;
};

// A key storage is asked for a key it does not hold.
class QUELT_API KeyNotFound : public DataSetException {
  public:
    KeyNotFound();
    KeyNotFound(const KeyNotFound &other);
    KeyNotFound &operator=(const KeyNotFound &other);
    ~KeyNotFound() override;
};

// A field is looked up by an unknown name or an index outside the field list.
class QUELT_API FieldNotFound : public DataSetException {
  public:
    FieldNotFound();
    FieldNotFound(const FieldNotFound &other);
    FieldNotFound &operator=(const FieldNotFound &other);
    ~FieldNotFound() override;
};

// A field is added under a name the data set already has.
class QUELT_API FieldAlreadyExists : public DataSetException {
  public:
    FieldAlreadyExists();
    FieldAlreadyExists(const FieldAlreadyExists &other);
    FieldAlreadyExists &operator=(const FieldAlreadyExists &other);
    ~FieldAlreadyExists() override;
};

// Base of the painting failures.
class QUELT_API PaintException : public BaseException {
  public:
    PaintException();
    PaintException(const PaintException &other);
    PaintException &operator=(const PaintException &other);
    ~PaintException() override;
};

// A palette is asked for a colour index outside its range.
class QUELT_API BadColorIndex : public PaintException {
  public:
    BadColorIndex();
    BadColorIndex(const BadColorIndex &other);
    BadColorIndex &operator=(const BadColorIndex &other);
    ~BadColorIndex() override;
};

// Base of the system-layer failures, raised by the platform module.
class QUELT_API SALException : public BaseException {
  public:
    SALException();
    SALException(const SALException &other);
    SALException &operator=(const SALException &other);
    ~SALException() override;
};

// A system window cannot be created or used.
class QUELT_API WindowException : public SALException {
  public:
    WindowException();
    WindowException(const WindowException &other);
    WindowException &operator=(const WindowException &other);
    ~WindowException() override;
};

// Base of the timer failures.
class QUELT_API TimerException : public SALException {
  public:
    TimerException();
    TimerException(const TimerException &other);
    TimerException &operator=(const TimerException &other);
    ~TimerException() override;
};

// The platform has no timer left.
class QUELT_API TooManyTimers : public TimerException {
  public:
    TooManyTimers();
    TooManyTimers(const TooManyTimers &other);
    TooManyTimers &operator=(const TooManyTimers &other);
    ~TooManyTimers() override;
};

// A timer is started under an identifier already in use.
class QUELT_API TimerAlreadyExists : public TimerException {
  public:
    TimerAlreadyExists();
    TimerAlreadyExists(const TimerAlreadyExists &other);
    TimerAlreadyExists &operator=(const TimerAlreadyExists &other);
    ~TimerAlreadyExists() override;
};

// A platform window already has a library window attached.
class QUELT_API WrapperAlreadyExists : public SALException {
  public:
    WrapperAlreadyExists();
    WrapperAlreadyExists(const WrapperAlreadyExists &other);
    WrapperAlreadyExists &operator=(const WrapperAlreadyExists &other);
    ~WrapperAlreadyExists() override;
};

// Base of the mouse-cursor failures.
class QUELT_API MouseException : public SALException {
  public:
    MouseException();
    MouseException(const MouseException &other);
    MouseException &operator=(const MouseException &other);
    ~MouseException() override;
};

// A mouse-cursor image cannot be used.
class QUELT_API BadCursorImage : public MouseException {
  public:
    BadCursorImage();
    BadCursorImage(const BadCursorImage &other);
    BadCursorImage &operator=(const BadCursorImage &other);
    ~BadCursorImage() override;
};

}  // namespace quelt
