# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening flags (those dpkg-buildflags gives with hardening=+all) for every target.
# A sanitizer build brings checks of its own and is left as it is.
option(TAVIMER_HARDENING "Build with the distribution's hardening flags" ON)
if(TAVIMER_HARDENING AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  # Fortified functions need the optimiser.
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
