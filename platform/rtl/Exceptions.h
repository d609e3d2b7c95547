// Exceptions.h - the exception classes of the run-time library.
//
// Every failure the system reports is an exception carrying a message (a String). The class
// tells the kind of failure; callers catch by class. what() gives the message as UTF-8 so that
// an escaped exception still says something readable.
#pragma once

#include <exception>
#include <string>

#include "platform/rtl/Types.h"

class Exception : public std::exception {
public:
  explicit Exception(String Msg);
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  ~Exception() override;

  const String& Message() const { return FMessage; }
  void SetMessage(const String& Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  // The class name, e.g. "EConvertError", for the exception display.
  virtual const char* ClassName() const { return "Exception"; }

  const char* what() const noexcept override { return FUtf8.c_str(); }

private:
  String FMessage;
  std::string FUtf8;
  int FHelpContext = 0;
};

#define VORENTA_DECLARE_EXCEPTION(Name, Base)                              \
  class Name : public Base {                                               \
  public:                                                                  \
    using Base::Base;                                                      \
    const char* ClassName() const override { return #Name; }               \
  }

// ORDER EXCEPTIONS: ancestors come before their descendants.
VORENTA_DECLARE_EXCEPTION(EAbort, Exception);
VORENTA_DECLARE_EXCEPTION(EConvertError, Exception);
VORENTA_DECLARE_EXCEPTION(EVariantError, Exception);
VORENTA_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
VORENTA_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
VORENTA_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
VORENTA_DECLARE_EXCEPTION(EMathError, Exception);
VORENTA_DECLARE_EXCEPTION(EZeroDivide, EMathError);
VORENTA_DECLARE_EXCEPTION(EOverflow, EMathError);
VORENTA_DECLARE_EXCEPTION(EInvalidOp, EMathError);
VORENTA_DECLARE_EXCEPTION(EIntError, Exception);
VORENTA_DECLARE_EXCEPTION(EDivByZero, EIntError);
VORENTA_DECLARE_EXCEPTION(ERangeError, EIntError);
VORENTA_DECLARE_EXCEPTION(EIntOverflow, EIntError);
VORENTA_DECLARE_EXCEPTION(EInvalidCast, Exception);
VORENTA_DECLARE_EXCEPTION(EInvalidPointer, Exception);
VORENTA_DECLARE_EXCEPTION(EOutOfMemory, Exception);
VORENTA_DECLARE_EXCEPTION(EAccessViolation, Exception);
VORENTA_DECLARE_EXCEPTION(EInOutError, Exception);
VORENTA_DECLARE_EXCEPTION(EExternalException, Exception);
VORENTA_DECLARE_EXCEPTION(EAssertionFailed, Exception);
VORENTA_DECLARE_EXCEPTION(ENotImplemented, Exception);
VORENTA_DECLARE_EXCEPTION(EArgumentException, Exception);
VORENTA_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
VORENTA_DECLARE_EXCEPTION(EOSError, Exception);
VORENTA_DECLARE_EXCEPTION(EListError, Exception);
VORENTA_DECLARE_EXCEPTION(EStringListError, Exception);
VORENTA_DECLARE_EXCEPTION(EStreamError, Exception);
VORENTA_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
VORENTA_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
VORENTA_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
VORENTA_DECLARE_EXCEPTION(EReadError, EStreamError);
VORENTA_DECLARE_EXCEPTION(EWriteError, EStreamError);
VORENTA_DECLARE_EXCEPTION(EFilerError, EStreamError);
VORENTA_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
VORENTA_DECLARE_EXCEPTION(EMethodNotFound, EFilerError);
VORENTA_DECLARE_EXCEPTION(EInvalidImage, EFilerError);
VORENTA_DECLARE_EXCEPTION(EResNotFound, Exception);
VORENTA_DECLARE_EXCEPTION(EComponentError, Exception);
VORENTA_DECLARE_EXCEPTION(EPropertyError, Exception);
VORENTA_DECLARE_EXCEPTION(EInvalidOperation, Exception);
VORENTA_DECLARE_EXCEPTION(EDatabaseError, Exception);
VORENTA_DECLARE_EXCEPTION(EIniFileException, Exception);
VORENTA_DECLARE_EXCEPTION(ERegistryException, Exception);
VORENTA_DECLARE_EXCEPTION(EHandleError, Exception);
VORENTA_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
VORENTA_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
VORENTA_DECLARE_EXCEPTION(EOutOfResources, Exception);
VORENTA_DECLARE_EXCEPTION(EPrinter, Exception);
// Calling an abstract operation that the object's class does not override ("Abstract Error").
VORENTA_DECLARE_EXCEPTION(EAbstractError, Exception);

// Raises EAbort, the silent exception the exception display does not show.
[[noreturn]] void Abort();
