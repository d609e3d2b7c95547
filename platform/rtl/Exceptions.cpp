// Exceptions.cpp - the exception base class.
#include "platform/rtl/Exceptions.h"

Exception::Exception(String Msg) : FMessage(std::move(Msg)), FUtf8(StringToUtf8(FMessage)) {}

Exception::~Exception() = default;

void Exception::SetMessage(const String& Value) {
  FMessage = Value;
  FUtf8 = StringToUtf8(FMessage);
}

void Abort() { throw EAbort(u"Operation aborted"); }
