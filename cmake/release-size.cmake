# What keeps the release build of the product small: the Windows MinSizeRel
# build of zelbo.dll and yanra.exe (and the portable parts linked into them).
# Test and tool programs keep the ordinary flags.
#
# Each choice has a name, so that scripts/bench can measure what it buys:
# YANRA_SIZE_CHOICES lists the ones applied (default: all of them, in this
# order); BENCHMARKS.md gives the sizes after each.
#   strip             -s: no symbol table in the files
#   gc-sections       every function in a section of its own, and the linker
#                     drops those that nothing uses (not -fdata-sections: with
#                     it the engine's zero-filled layout cache moves from .bss
#                     into .data, and zelbo.dll grows by its 80 KiB)
#   no-exceptions     the code throws and catches nothing and asks for no
#                     type information: no unwinding tables or RTTI for it
#   no-unwind-tables  no unwinding tables at all (nothing unwinds our frames)
set(YANRA_SIZE_CHOICES "strip;gc-sections;no-exceptions;no-unwind-tables" CACHE STRING
    "The size choices applied to the release build of zelbo.dll and yanra.exe")

set(yanra_size_targets zelbo zelbo_core yanra yanra_settings)
foreach(choice IN LISTS YANRA_SIZE_CHOICES)
    if(choice STREQUAL "strip")
        set(compile_options "")
        set(link_options -s)
    elseif(choice STREQUAL "gc-sections")
        set(compile_options -ffunction-sections)
        set(link_options -Wl,--gc-sections)
    elseif(choice STREQUAL "no-exceptions")
        set(compile_options $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
        set(link_options "")
    elseif(choice STREQUAL "no-unwind-tables")
        set(compile_options -fno-asynchronous-unwind-tables -fno-unwind-tables)
        set(link_options "")
    else()
        message(FATAL_ERROR "YANRA_SIZE_CHOICES: unknown choice \"${choice}\"")
    endif()
    foreach(target IN LISTS yanra_size_targets)
        target_compile_options(${target} PRIVATE ${compile_options})
        get_target_property(type ${target} TYPE)
        if(NOT type STREQUAL "STATIC_LIBRARY")
            target_link_options(${target} PRIVATE ${link_options})
        endif()
    endforeach()
endforeach()
