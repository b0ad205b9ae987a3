<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AudioChecks</name>
    <message>
        <source>holds two separate programmes (dual channel); mixed both, choose Left or Right to keep one</source>
        <translation>contiene dos programas distintos (canal dual); se mezclaron ambos, elija el canal izquierdo o el derecho para conservar solo uno</translation>
    </message>
    <message>
        <source>the two channels cancel each other out; the mix is near silence, convert it with Left or Right</source>
        <translation>los dos canales se anulan entre sí; la mezcla queda casi en silencio, conviértalo con el canal izquierdo o el derecho</translation>
    </message>
    <message>
        <source>1 sample clipped</source>
        <translation>1 muestra recortada</translation>
    </message>
    <message numerus="yes">
        <source>%1 samples clipped</source>
        <translation>
            <numerusform>%1 muestra recortada</numerusform>
            <numerusform>%1 muestras recortadas</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BatchInputs</name>
    <message>
        <source>standard input</source>
        <translation>de la entrada estándar</translation>
    </message>
    <message>
        <source>the list of paths %1 cannot be read (%2)</source>
        <translation>no se puede leer la lista de rutas %1 (%2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (entry %2)</source>
        <translation>la lista de rutas %1 contiene una ruta vacía (entrada %2)</translation>
    </message>
    <message>
        <source>the list of paths %1 holds an empty path (line %2)</source>
        <translation>la lista de rutas %1 contiene una ruta vacía (línea %2)</translation>
    </message>
    <message>
        <source>it is the output folder or lies in it, where the outputs go</source>
        <translation>es la carpeta de salida o está dentro de ella, adonde van los archivos de salida</translation>
    </message>
</context>
<context>
    <name>BatchOptions</name>
    <message>
        <source>an empty path was given (is a variable in the script unset?)</source>
        <translation>se indicó una ruta vacía (¿hay una variable sin definir en el script?)</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 no admite ningún valor</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opción desconocida %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 necesita un valor</translation>
    </message>
    <message>
        <source>unknown mode &quot;%1&quot;: choose mix, left or right</source>
        <translation>modo desconocido «%1»: elija mix, left o right</translation>
    </message>
    <message>
        <source>--output needs a folder</source>
        <translation>--output necesita una carpeta</translation>
    </message>
    <message>
        <source>--files-from needs a file, or - for standard input</source>
        <translation>--files-from necesita un archivo, o - para la entrada estándar</translation>
    </message>
    <message>
        <source>--jobs needs a whole number of at least 1, not &quot;%1&quot;</source>
        <translation>--jobs necesita un número entero de al menos 1, no «%1»</translation>
    </message>
    <message>
        <source>%1 works only with --batch</source>
        <translation>%1 solo funciona con --batch</translation>
    </message>
    <message>
        <source>no file or folder to convert was given</source>
        <translation>no se indicó ningún archivo ni carpeta para convertir</translation>
    </message>
    <message>
        <source>Usage: velunor [FILE...]
       velunor --batch [--mode mix|left|right] [--output FOLDER] [--jobs N]
                       [--quality source|KBPS|vN] PATH...
       velunor --batch [OPTION...] --files-from LIST [--null] [PATH...]

Turns stereo MP3 files into mono MP3 files. Without --batch it opens the window
with the FILEs in its list.

With --batch it converts without a window and needs no display. Each PATH that
is a folder is searched for *.mp3 files, its subfolders included; any other
PATH is converted as it is. Each output takes the input&apos;s name with &quot;.mp3&quot;.

  --mode MODE      how the two channels become one: mix (both), left or right;
                   by default the mode last chosen in the window, else mix
  --output FOLDER  where the mono files go; by default the output folder last
                   chosen in the window, else the desktop folder
  --jobs N         conversions at once; by default one per processor (%1 here)
  --quality Q      how the mono MP3 is encoded: source (the input&apos;s bit rate
                   per channel, constant), a constant bit rate in kbps such
                   as 128, or v0 (best) to v9 (smallest), a variable bit
                   rate; by default the encoder&apos;s own, as the window converts
  --files-from LIST  convert the paths LIST names, one a line (- reads them
                   from standard input); may be given more than once
  -0, --null       the paths in LIST are separated by NUL bytes, as
                   find -print0 writes them
  --keep-folders   each file found in a folder PATH goes to the same folder
                   below the output folder, made as needed
  --skip-existing  a file whose output is there, made from the file as it is
                   now, is not converted again (its line says up to date)
  --keep-dates     each output takes its input&apos;s modification time
  --trash-inputs   each input goes to the Trash once its output is in place;
                   with the input&apos;s own folder as the output folder, this
                   converts it in place
  -h, --help       show this help and exit
  --version        show the version and exit

The output folder and everything in it are never searched for inputs, unless
a PATH given with --trash-inputs is the output folder or lies in it. A name
that is not UTF-8 is converted like any other and shown with \xHH for each
byte that is not text.

An input that is mono already keeps its audio, copied unchanged, in every mode
and at any quality.

The options never change what the window has stored. On a terminal a status
line shows the progress; otherwise one line tells how each file ended. A file
converted with something to know (channels that cancel out in a mix, two
programmes mixed, samples clipped) gets a line &quot;warning: PATH: ...&quot; on
standard error. At the end every file that was not converted is listed with
its reason.

Exit status: 0 when every file was converted (with warnings or without) or up
to date, 1 when any file was not (or a folder could not be searched, or the
output could not be written), 2 for a wrong command line (and nothing
converted). SIGINT, SIGTERM and SIGHUP stop the run (finished files are
kept) and then end the program as they end others: a shell shows 130, 143
or 129, and a shell&apos;s loop stops at Ctrl+C.
</source>
        <translation>Uso:
  velunor [ARCHIVO...]
  velunor --batch [--mode mix|left|right] [--output CARPETA] [--jobs N]
                  [--quality source|KBPS|vN] RUTA...
  velunor --batch [OPCIÓN...] --files-from LISTA [--null] [RUTA...]

Convierte archivos MP3 estéreo en archivos MP3 mono. Sin --batch abre la
ventana con los ARCHIVOs en su lista.

Con --batch convierte sin ventana y no necesita pantalla gráfica. Cada RUTA que
sea una carpeta se examina en busca de archivos *.mp3, subcarpetas incluidas;
cualquier otra RUTA se convierte tal cual. Cada archivo de salida toma el
nombre de su archivo de entrada con «.mp3».

  --mode MODO      cómo los dos canales se vuelven uno: mix (mezcla de ambos),
                   left (izquierdo) o right (derecho); por omisión, el modo
                   elegido por última vez en la ventana, si no, mix
  --output CARPETA adónde van los archivos mono; por omisión, la carpeta de
                   salida elegida por última vez en la ventana, si no, el
                   escritorio
  --jobs N         conversiones a la vez; por omisión, una por procesador
                   (aquí %1)
  --quality C      cómo se codifica el MP3 mono: source (la tasa de bits de la
                   entrada por canal, constante), una tasa de bits constante en
                   kbps como 128, o de v0 (la mejor) a v9 (la más pequeña), una
                   tasa de bits variable; por omisión, la del propio
                   codificador, como convierte la ventana
  --files-from LISTA  convertir las rutas que nombra LISTA, una por línea
                   (- las lee de la entrada estándar); puede repetirse
  -0, --null       las rutas de LISTA están separadas por bytes NUL, tal como
                   las escribe find -print0
  --keep-folders   cada archivo encontrado en una carpeta RUTA va a la misma
                   carpeta bajo la carpeta de salida, creada si hace falta
  --skip-existing  un archivo cuya salida ya existe, hecha a partir del archivo
                   tal como está ahora, no se vuelve a convertir (su línea dice
                   al día)
  --keep-dates     cada salida toma la fecha de modificación de su entrada
  --trash-inputs   cada entrada va a la Papelera cuando su salida está en su
                   sitio; con la propia carpeta de la entrada como carpeta de
                   salida, la convierte en el mismo lugar
  -h, --help       mostrar esta ayuda y salir
  --version        mostrar la versión y salir

La carpeta de salida y todo lo que contiene nunca se examinan en busca de
archivos de entrada, salvo que una RUTA dada con --trash-inputs sea la carpeta
de salida o esté dentro de ella. Un nombre que no está en UTF-8 se convierte
como cualquier otro y se muestra con \xHH por cada byte que no es texto.

Una entrada que ya es mono conserva su audio, copiado sin cambios, en cualquier
modo y con cualquier calidad.

Las opciones nunca cambian lo que la ventana tiene guardado. En un terminal, una
línea de estado muestra el progreso; si no, una línea indica cómo terminó cada
archivo. Un archivo convertido con algo que conviene saber (canales que se
anulan en una mezcla, dos programas mezclados, muestras recortadas) recibe una
línea «aviso: RUTA: ...» en la salida de error estándar. Al final se enumera
cada archivo que no se convirtió, con su motivo.

Estado de salida: 0 si todos los archivos se convirtieron (con avisos o sin
ellos) o ya estaban al día, 1 si alguno no se convirtió (o no se pudo examinar
una carpeta o escribir la salida), 2 si la línea de órdenes es incorrecta (y no
se convierte nada). SIGINT, SIGTERM y SIGHUP detienen la conversión (los
archivos terminados se conservan) y luego terminan el programa como terminan
los demás: un shell muestra 130, 143 o 129, y un bucle del shell se detiene con
Ctrl+C.
</translation>
    </message>
</context>
<context>
    <name>BatchProgram</name>
    <message>
        <source>Try &apos;velunor --help&apos; for more information.</source>
        <translation>Pruebe «velunor --help» para más información.</translation>
    </message>
    <message>
        <source>no output folder is stored and none was given: give --output FOLDER</source>
        <translation>no hay ninguna carpeta de salida guardada ni indicada: indique --output CARPETA</translation>
    </message>
    <message>
        <source>the output folder %1 is not a folder</source>
        <translation>la carpeta de salida %1 no es una carpeta</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>la carpeta de salida %1 no existe</translation>
    </message>
    <message>
        <source>the output folder %1 cannot be written</source>
        <translation>no se puede escribir en la carpeta de salida %1</translation>
    </message>
    <message>
        <source>velunor: write error: %1</source>
        <translation>velunor: error de escritura: %1</translation>
    </message>
    <message>
        <source>velunor: warning: %1</source>
        <translation>velunor: aviso: %1</translation>
    </message>
    <message>
        <source>no channel mode is stored: give --mode mix, left or right</source>
        <translation>no hay ningún modo de canal guardado: indique --mode mix, left o right</translation>
    </message>
    <message>
        <source>velunor: the program&apos;s own path cannot be read: %1</source>
        <translation>velunor: no se puede leer la ruta del propio programa: %1</translation>
    </message>
    <message>
        <source>velunor: the window program %1 cannot be started: %2</source>
        <translation>velunor: no se puede iniciar el programa de ventana %1: %2</translation>
    </message>
    <message>
        <source>no such file or folder: %1</source>
        <translation>no existe el archivo o la carpeta: %1</translation>
    </message>
    <message>
        <source>no such files or folders: %1</source>
        <translation>no existen los archivos o carpetas: %1</translation>
    </message>
    <message>
        <source>Stopped before any file was converted.</source>
        <translation>Detenido antes de convertir ningún archivo.</translation>
    </message>
    <message numerus="yes">
        <source>Searching for MP3 files... %n found</source>
        <translation>
            <numerusform>Buscando archivos MP3... %n encontrado</numerusform>
            <numerusform>Buscando archivos MP3... %n encontrados</numerusform>
        </translation>
    </message>
    <message>
        <source>not searched: %1</source>
        <translation>no examinada: %1</translation>
    </message>
    <message>
        <source>no MP3 files were found in %1</source>
        <translation>no se encontraron archivos MP3 en %1</translation>
    </message>
    <message>
        <source>no display is named (neither DISPLAY nor WAYLAND_DISPLAY is set)</source>
        <translation>no se indica ninguna pantalla (no está definida ni DISPLAY ni WAYLAND_DISPLAY)</translation>
    </message>
    <message>
        <source>the display %1 does not answer (DISPLAY is set, but no X server runs there)</source>
        <translation>la pantalla %1 no responde (DISPLAY está definida, pero no hay ningún servidor X en ella)</translation>
    </message>
    <message>
        <source>velunor: the window cannot open: %1.
To convert without the window: velunor --batch --output FOLDER FILE...</source>
        <translation>velunor: la ventana no puede abrirse: %1.
Para convertir sin la ventana: velunor --batch --output CARPETA ARCHIVO...</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message>
        <source>1 folder could not be searched:</source>
        <translation>No se pudo examinar 1 carpeta:</translation>
    </message>
    <message numerus="yes">
        <source>%n folders could not be searched:</source>
        <translation>
            <numerusform>No se pudo examinar %n carpeta:</numerusform>
            <numerusform>No se pudieron examinar %n carpetas:</numerusform>
        </translation>
    </message>
    <message>
        <source>velunor: %1 failed: %2</source>
        <translation>velunor: falló %1: %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2</source>
        <translation>convertido: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>not converted: %1 - %2</source>
        <translation>no convertido: %1 - %2</translation>
    </message>
    <message>
        <source>up to date: %1 -&gt; %2</source>
        <translation>al día: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input moved to the Trash)</source>
        <translation>convertido: %1 -&gt; %2 (entrada movida a la Papelera)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 (input kept: %3)</source>
        <translation>convertido: %1 -&gt; %2 (entrada conservada: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input moved to the Trash)</source>
        <translation>convertido: %1 -&gt; %2 - ya era mono: audio copiado sin cambios (entrada movida a la Papelera)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged (input kept: %3)</source>
        <translation>convertido: %1 -&gt; %2 - ya era mono: audio copiado sin cambios (entrada conservada: %3)</translation>
    </message>
    <message>
        <source>converted: %1 -&gt; %2 - already mono: audio copied unchanged</source>
        <translation>convertido: %1 -&gt; %2 - ya era mono: audio copiado sin cambios</translation>
    </message>
    <message>
        <source>warning: %1: %2</source>
        <translation>aviso: %1: %2</translation>
    </message>
</context>
<context>
    <name>ConversionJob</name>
    <message>
        <source>the converter was not run: %1</source>
        <translation>no se ejecutó el conversor: %1</translation>
    </message>
    <message>
        <source>the output could not be finished: the disk did not answer for %1 seconds</source>
        <translation>no se pudo terminar el archivo de salida: el disco no respondió durante %1 segundos</translation>
    </message>
    <message>
        <source>the run was stopped while the output was being put in place as %1</source>
        <translation>la conversión se detuvo mientras el archivo de salida se colocaba como %1</translation>
    </message>
</context>
<context>
    <name>ConverterFiles</name>
    <message>
        <source>Resource with identifier &apos;%1&apos; not found</source>
        <translation>No se encontró el recurso con identificador «%1»</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be used (%2)</source>
        <translation>no se puede usar la carpeta de preparación %1 (%2)</translation>
    </message>
    <message>
        <source>another run holds the staging folder %1 locked</source>
        <translation>otra conversión mantiene bloqueada la carpeta de preparación %1</translation>
    </message>
    <message>
        <source>the staging folder %1 cannot be locked (%2)</source>
        <translation>no se puede bloquear la carpeta de preparación %1 (%2)</translation>
    </message>
    <message>
        <source>%1 differs from this version&apos;s and another run still uses it</source>
        <translation>%1 difiere del de esta versión y otra conversión aún lo usa</translation>
    </message>
    <message>
        <source>the staging folder %1 could not be locked again (%2)</source>
        <translation>no se pudo volver a bloquear la carpeta de preparación %1 (%2)</translation>
    </message>
    <message>
        <source>the staging folder %1 belongs to another user</source>
        <translation>la carpeta de preparación %1 pertenece a otro usuario</translation>
    </message>
    <message>
        <source>other users can write to the staging folder %1</source>
        <translation>otros usuarios pueden escribir en la carpeta de preparación %1</translation>
    </message>
    <message>
        <source>%1 cannot be checked (%2)</source>
        <translation>no se puede comprobar %1 (%2)</translation>
    </message>
    <message>
        <source>%1 is not a plain file</source>
        <translation>%1 no es un archivo normal</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 pertenece a otro usuario</translation>
    </message>
    <message>
        <source>other users can change %1</source>
        <translation>otros usuarios pueden modificar %1</translation>
    </message>
</context>
<context>
    <name>FileOutcome</name>
    <message>
        <source>the converter could not be started (%1)</source>
        <translation>no se pudo iniciar el conversor (%1)</translation>
    </message>
    <message>
        <source>the converter failed (exit status %1)</source>
        <translation>el conversor falló (estado de salida %1)</translation>
    </message>
    <message>
        <source>ended by signal %1, %2</source>
        <translation>terminado por la señal %1, %2</translation>
    </message>
    <message>
        <source>the converter wrote no output file</source>
        <translation>el conversor no escribió ningún archivo de salida</translation>
    </message>
    <message>
        <source>the output is shorter than the input (%1)</source>
        <translation>la salida es más corta que la entrada (%1)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>el disco está lleno</translation>
    </message>
    <message>
        <source>the output folder was removed during the run</source>
        <translation>la carpeta de salida se eliminó durante la conversión</translation>
    </message>
    <message>
        <source>cannot write in the output folder: %1%2</source>
        <translation>no se puede escribir en la carpeta de salida: %1%2</translation>
    </message>
    <message>
        <source>stopped before it was finished</source>
        <translation>detenido antes de terminar</translation>
    </message>
    <message>
        <source>not started, the run was stopped</source>
        <translation>no iniciado, la conversión se detuvo</translation>
    </message>
    <message>
        <source>removed from the list before its turn</source>
        <translation>quitado de la lista antes de su turno</translation>
    </message>
    <message>
        <source>up to date</source>
        <translation>al día</translation>
    </message>
    <message>
        <source>already mono: audio copied unchanged</source>
        <translation>ya era mono: audio copiado sin cambios</translation>
    </message>
</context>
<context>
    <name>FilePlan</name>
    <message>
        <source>skipped, the output would replace the listed file %1</source>
        <translation>omitido, la salida reemplazaría el archivo de la lista %1</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>el archivo no existe</translation>
    </message>
    <message>
        <source>the output folder %1 does not exist</source>
        <translation>la carpeta de salida %1 no existe</translation>
    </message>
    <message>
        <source>skipped, the output would replace this very file</source>
        <translation>omitido, la salida reemplazaría este mismo archivo</translation>
    </message>
    <message>
        <source>no channel mode is selected</source>
        <translation>no hay ningún modo de canal seleccionado</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>no se encontró ningún nombre libre para su salida</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>el archivo está vacío</translation>
    </message>
</context>
<context>
    <name>FileSystem</name>
    <message>
        <source>the file does not exist</source>
        <translation>el archivo no existe</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>it is a link to %1, which does not exist</source>
        <translation>es un enlace a %1, que no existe</translation>
    </message>
</context>
<context>
    <name>FinishOutput</name>
    <message>
        <source>the converter wrote no MP3 audio</source>
        <translation>el conversor no escribió audio MP3</translation>
    </message>
    <message>
        <source>%1 of %2 seconds</source>
        <translation>%1 de %2 segundos</translation>
    </message>
    <message>
        <source>the output could not be written (%1)</source>
        <translation>no se pudo escribir la salida (%1)</translation>
    </message>
    <message>
        <source>; the unfinished file %1 could not be removed (%2)</source>
        <translation>; no se pudo eliminar el archivo sin terminar %1 (%2)</translation>
    </message>
    <message>
        <source>the unfinished output was removed during the run</source>
        <translation>la salida sin terminar se eliminó durante la conversión</translation>
    </message>
    <message>
        <source>the output could not be put in place (%1)</source>
        <translation>no se pudo colocar la salida en su sitio (%1)</translation>
    </message>
    <message>
        <source>no free name for its output could be found</source>
        <translation>no se encontró ningún nombre libre para su salida</translation>
    </message>
    <message>
        <source>the output could not take its input&apos;s date (%1)</source>
        <translation>la salida no pudo tomar la fecha de su entrada (%1)</translation>
    </message>
    <message>
        <source>the file changed while it was converted, and was left as it is</source>
        <translation>el archivo cambió mientras se convertía y se dejó tal cual</translation>
    </message>
    <message>
        <source>its output takes its name only once it is in the Trash, and no Trash could be had for it; it was left as it is</source>
        <translation>su salida solo toma su nombre una vez que está en la Papelera, y no había Papelera disponible para él; se dejó tal cual</translation>
    </message>
    <message>
        <source>its output is no longer where it was put</source>
        <translation>su salida ya no está donde se colocó</translation>
    </message>
    <message>
        <source>it is no longer there</source>
        <translation>ya no está allí</translation>
    </message>
    <message>
        <source>it changed while it was converted</source>
        <translation>cambió mientras se convertía</translation>
    </message>
    <message>
        <source>no Trash could be had for it</source>
        <translation>no había Papelera disponible para él</translation>
    </message>
    <message>
        <source>the warning&apos;s remedy needs it</source>
        <translation>hace falta para la solución que indica la advertencia</translation>
    </message>
</context>
<context>
    <name>ForeignTags</name>
    <message>
        <source>its tags cannot be read: the program&apos;s part that reads them cannot be loaded (%1)</source>
        <translation>no se pueden leer sus etiquetas: no se puede cargar la parte del programa que las lee (%1)</translation>
    </message>
</context>
<context>
    <name>ListRun</name>
    <message>
        <source>not started</source>
        <translation>no iniciado</translation>
    </message>
</context>
<context>
    <name>MpegAudioCopy</name>
    <message>
        <source>the input could not be read (%1)</source>
        <translation>no se pudo leer la entrada (%1)</translation>
    </message>
    <message>
        <source>the input holds no audio between its tags</source>
        <translation>la entrada no contiene audio entre sus etiquetas</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>no se pudo escribir la salida</translation>
    </message>
    <message>
        <source>the copy was cancelled</source>
        <translation>la copia se canceló</translation>
    </message>
</context>
<context>
    <name>OutputQuality</name>
    <message>
        <source>--quality %1: MPEG audio has no bit rate of %1 kbps, only %2</source>
        <translation>--quality %1: el audio MPEG no tiene una tasa de bits de %1 kbps, solo %2</translation>
    </message>
    <message>
        <source>--quality takes source, a bit rate in kbps such as 128, or v0 to v9, not &quot;%1&quot;</source>
        <translation>--quality admite source, una tasa de bits en kbps como 128, o de v0 a v9, no «%1»</translation>
    </message>
    <message>
        <source>encoded at %1 kbps: the encoder has no %2 kbps at %3 kHz</source>
        <translation>codificado a %1 kbit/s: el codificador no tiene %2 kbit/s a %3 kHz</translation>
    </message>
</context>
<context>
    <name>OutputSubfolder</name>
    <message>
        <source>the output folder %1 could not be made (%2)</source>
        <translation>no se pudo crear la carpeta de salida %1 (%2)</translation>
    </message>
    <message>
        <source>the output folder %1 could not be made (a file of that name is in the way)</source>
        <translation>no se pudo crear la carpeta de salida %1 (un archivo con ese nombre lo impide)</translation>
    </message>
</context>
<context>
    <name>PlatformError</name>
    <message>
        <source>Unexpected failure</source>
        <translation>Fallo inesperado</translation>
    </message>
</context>
<context>
    <name>ReplayGainUpdate</name>
    <message>
        <source>the run was stopped</source>
        <translation>la conversión se detuvo</translation>
    </message>
    <message>
        <source>the output was replaced meanwhile</source>
        <translation>el archivo de salida se reemplazó entretanto</translation>
    </message>
    <message>
        <source>the album&apos;s ReplayGain values could not be written (%1); it keeps the track&apos;s</source>
        <translation>no se pudieron escribir los valores ReplayGain del álbum (%1); el archivo conserva los de la pista</translation>
    </message>
</context>
<context>
    <name>RunStep</name>
    <message>
        <source>loading the converter file %1</source>
        <translation>la carga del archivo %1 del conversor</translation>
    </message>
    <message>
        <source>staging the converter file %1</source>
        <translation>la preparación del archivo %1 del conversor</translation>
    </message>
</context>
<context>
    <name>RunSummary</name>
    <message>
        <source>the output&apos;s file system refuses the name as it is</source>
        <translation>el sistema de archivos de la salida rechaza el nombre tal cual</translation>
    </message>
    <message>
        <source>another file in the list has the same name</source>
        <translation>otro archivo de la lista tiene el mismo nombre</translation>
    </message>
    <message>
        <source>a file of that name holds the output of another input</source>
        <translation>un archivo con ese nombre contiene la salida de otra entrada</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... y %n más.</numerusform>
            <numerusform>... y %n más.</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name was moved to the Trash</source>
        <translation>su archivo con ese nombre se movió a la Papelera</translation>
    </message>
    <message>
        <source>%1 - your file %2 was moved to the Trash</source>
        <translation>%1 - su archivo %2 se movió a la Papelera</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Detenido.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Hecho.</translation>
    </message>
    <message>
        <source>The file was converted.</source>
        <translation>El archivo se convirtió.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were converted.</source>
        <translation>
            <numerusform>Se convirtió %n archivo.</numerusform>
            <numerusform>Se convirtieron los %n archivos.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was not converted.</source>
        <translation>
            <numerusform>No se convirtió 1 de %n archivo.</numerusform>
            <numerusform>No se convirtió 1 de %n archivos.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were not converted.</source>
        <translation>
            <numerusform>No se convirtió %n de %1 archivos.</numerusform>
            <numerusform>No se convirtieron %n de %1 archivos.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was not converted:</source>
        <translation>No se convirtió 1 archivo:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were not converted:</source>
        <translation>
            <numerusform>No se convirtió %n archivo:</numerusform>
            <numerusform>No se convirtieron %n archivos:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was saved under another name or in place of a file of yours:</source>
        <translation>1 archivo se guardó con otro nombre o en lugar de un archivo suyo:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were saved under another name or in place of a file of yours:</source>
        <translation>
            <numerusform>%n archivo se guardó con otro nombre o en lugar de un archivo suyo:</numerusform>
            <numerusform>%n archivos se guardaron con otro nombre o en lugar de archivos suyos:</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 - the file is in the Trash as %2</source>
        <translation>%1 - el archivo está en la Papelera como %2</translation>
    </message>
    <message>
        <source>The file was up to date.</source>
        <translation>El archivo ya estaba al día.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files were up to date.</source>
        <translation>
            <numerusform>%n archivo ya estaba al día.</numerusform>
            <numerusform>Los %n archivos ya estaban al día.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1 of %n files was converted, the others were up to date.</source>
        <translation>
            <numerusform>Se convirtió 1 de %n archivo, los demás ya estaban al día.</numerusform>
            <numerusform>Se convirtió 1 de %n archivos, los demás ya estaban al día.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files were converted, the others were up to date.</source>
        <translation>
            <numerusform>Se convirtió %n de %1 archivos, los demás ya estaban al día.</numerusform>
            <numerusform>Se convirtieron %n de %1 archivos, los demás ya estaban al día.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was up to date and not converted again.</source>
        <translation>1 archivo ya estaba al día y no se volvió a convertir.</translation>
    </message>
    <message numerus="yes">
        <source>%n files were up to date and not converted again.</source>
        <translation>
            <numerusform>%n archivo ya estaba al día y no se volvió a convertir.</numerusform>
            <numerusform>%n archivos ya estaban al día y no se volvieron a convertir.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input was moved to the Trash.</source>
        <translation>1 archivo de entrada se movió a la Papelera.</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs were moved to the Trash.</source>
        <translation>
            <numerusform>%n archivo de entrada se movió a la Papelera.</numerusform>
            <numerusform>%n archivos de entrada se movieron a la Papelera.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 input stays where it was, not in the Trash:</source>
        <translation>1 archivo de entrada sigue donde estaba, fuera de la Papelera:</translation>
    </message>
    <message numerus="yes">
        <source>%n inputs stay where they were, not in the Trash:</source>
        <translation>
            <numerusform>%n archivo de entrada sigue donde estaba, fuera de la Papelera:</numerusform>
            <numerusform>%n archivos de entrada siguen donde estaban, fuera de la Papelera:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 warning:</source>
        <translation>1 aviso:</translation>
    </message>
    <message numerus="yes">
        <source>%n warnings:</source>
        <translation>
            <numerusform>%n aviso:</numerusform>
            <numerusform>%n avisos:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file was mono already:</source>
        <translation>1 archivo ya era mono:</translation>
    </message>
    <message numerus="yes">
        <source>%n files were mono already:</source>
        <translation>
            <numerusform>%n archivo ya era mono:</numerusform>
            <numerusform>%n archivos ya eran mono:</numerusform>
        </translation>
    </message>
    <message>
        <source>your file of that name stays, as no Trash could take it</source>
        <translation>su archivo con ese nombre se queda, ya que ninguna Papelera pudo recibirlo</translation>
    </message>
    <message>
        <source>the name is too long for the output folder&apos;s file system</source>
        <translation>el nombre es demasiado largo para el sistema de archivos de la carpeta de salida</translation>
    </message>
    <message>
        <source>; </source>
        <extracomment>Between two reasons why an output has another name.</extracomment>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Type mismatch</source>
        <translation>No coinciden los tipos</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message numerus="yes">
        <source>%1%  %2/%n files</source>
        <translation>
            <numerusform>%1 %  %2/%n archivo</numerusform>
            <numerusform>%1 %  %2/%n archivos</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>quedan %1</translation>
    </message>
</context>
<context>
    <name>StoredDefaults</name>
    <message>
        <source>the stored value &quot;%1&quot; of %2 is not True or False and was passed over</source>
        <translation>el valor guardado «%1» de %2 no es True ni False y se ha pasado por alto</translation>
    </message>
</context>
<context>
    <name>TagCopy</name>
    <message>
        <source>the tags of the input could not be read (%1)</source>
        <translation>no se pudieron leer las etiquetas de la entrada (%1)</translation>
    </message>
    <message>
        <source>the converted file could not be read (%1)</source>
        <translation>no se pudo leer el archivo convertido (%1)</translation>
    </message>
    <message>
        <source>the tags could not be written (%1)</source>
        <translation>no se pudieron escribir las etiquetas (%1)</translation>
    </message>
    <message>
        <source>the tag copy was cancelled</source>
        <translation>la copia de las etiquetas se canceló</translation>
    </message>
</context>
</TS>
