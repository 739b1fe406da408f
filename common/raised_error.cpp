#include "common/raised_error.h"

std::string RuntimeErrorText(int32_t number) {
    switch (number) {
        case ErrorNumber::InvalidProcedureCall: return "Invalid procedure call or argument";
        case ErrorNumber::Overflow: return "Overflow";
        case ErrorNumber::SubscriptOutOfRange: return "Subscript out of range";
        case ErrorNumber::TypeMismatch: return "Type mismatch";
        case ErrorNumber::FileNotFound: return "File not found";
        case ErrorNumber::BadFileMode: return "Bad file mode";
        case ErrorNumber::FileAlreadyOpen: return "File already open";
        case ErrorNumber::PathFileAccessError: return "Path/File access error";
        case ErrorNumber::ObjectNotSet: return "Object variable or With block variable not set";
        case ErrorNumber::InvalidPropertyValue: return "Invalid property value";
        default: return "Application-defined or object-defined error";
    }
}

void RaiseRuntimeError(int32_t number, const std::string& source) {
    throw RaisedError(number, source, RuntimeErrorText(number));
}
