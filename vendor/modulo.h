// The module Modulo: the five functions of the printer maker's library Mp2032, bound when the
// program is loaded (imported by name through the import table), never looked up at run time.
// Our stand-in in mp2032/ defines them against these very declarations, so the two cannot
// disagree on a type.
#pragma once

#include <cstdint>

// The library's calling convention: stdcall on 32-bit Windows, where it decides who clears
// the stack; every other target has one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define MP2032_CALL __stdcall
#else
#define MP2032_CALL
#endif

extern "C" {

// Text arguments are zero-terminated 8-bit text in the system's code page.
std::int32_t MP2032_CALL IniciaPorta(const char* porta);
std::int32_t MP2032_CALL FechaPorta();
std::int32_t MP2032_CALL ConfiguraModeloImpressora(std::int32_t modelo);
std::int32_t MP2032_CALL DocumentInserted();
std::int32_t MP2032_CALL AutenticaDoc(const char* texto, std::int32_t tempo);

}  // extern "C"

namespace vendor {

// The window calls the library through this, so that its logic can be tried against a fake.
class Library {
 public:
  virtual ~Library() = default;
  virtual std::int32_t IniciaPorta(const char* porta) = 0;
  virtual std::int32_t FechaPorta() = 0;
  virtual std::int32_t ConfiguraModeloImpressora(std::int32_t modelo) = 0;
  virtual std::int32_t DocumentInserted() = 0;
  virtual std::int32_t AutenticaDoc(const char* texto, std::int32_t tempo) = 0;
};

// The linked Mp2032: each call goes straight to the imported function. Only code that links
// the library (target quolt_vendor_linked) may use it.
Library& linkedLibrary();

}  // namespace vendor
