<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>ErrorReport</name>
    <message>
        <source>%1<byte value="xd"/>
in %2 at line %3<byte value="xd"/><byte value="xd"/>Please email screenshot of this message to %4</source>
        <translation>%1<byte value="xd"/>
en %2 en la línea %3<byte value="xd"/><byte value="xd"/>Envíe una captura de pantalla de este mensaje por correo electrónico a %4</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Error de la aplicación</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
    <message>
        <source>Index out of bounds</source>
        <translation>Índice fuera de los límites</translation>
    </message>
</context>
<context>
    <name>QtPlatform</name>
    <message>
        <source>The file name buffer is too small.</source>
        <translation>El búfer de nombres de archivo es demasiado pequeño.</translation>
    </message>
</context>
<context>
    <name>velunor::conversion::ConversionRun</name>
    <message>
        <source>Progress Bar</source>
        <translation>Barra de progreso</translation>
    </message>
    <message>
        <source>%1% · %2 left</source>
        <translation>%1 % · quedan %2</translation>
    </message>
    <message>
        <source>Processing: %1</source>
        <translation>Procesando: %1</translation>
    </message>
    <message>
        <source>Please wait.. %1</source>
        <translation>Espere.. %1</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>velunor::app::Form1</name>
    <message>
        <source>What is Mono and Stereo?</source>
        <translation>¿Qué son mono y estéreo?</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Arrastre y suelte archivos aquí. Haga doble clic en un elemento para quitarlo. Mueva la línea | hacia la derecha y fuera de la ventana para ver los nombres completos.</translation>
    </message>
    <message>
        <source>MP3 files to convert</source>
        <translation>Archivos MP3 para convertir</translation>
    </message>
    <message>
        <source>The arrow keys select a file and Delete removes it from the list.</source>
        <translation>Las flechas seleccionan un archivo y Supr lo quita de la lista.</translation>
    </message>
    <message>
        <source>Add MP3 File(s)</source>
        <translation>Añadir archivo(s) MP3</translation>
    </message>
    <message>
        <source>Add All MP3 File(s) In Folder</source>
        <translation>Añadir todos los MP3 de una carpeta</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Vaciar la lista</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Cargar archivos de ejemplo</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Mix left and right channels into one channel</source>
        <translation>Mezclar los canales izquierdo y derecho en un solo canal</translation>
    </message>
    <message>
        <source>Keep left channel audio only and discard right channel audio</source>
        <translation>Conservar solo el canal izquierdo y descartar el derecho</translation>
    </message>
    <message>
        <source>Keep right channel audio only and discard left channel audio</source>
        <translation>Conservar solo el canal derecho y descartar el izquierdo</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Guardar los resultados en esta carpeta</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Carpeta de salida</translation>
    </message>
    <message>
        <source>The converted files are saved in this folder.</source>
        <translation>Los archivos convertidos se guardan en esta carpeta.</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Elegir la carpeta de salida</translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation>Iniciar la conversión</translation>
    </message>
    <message>
        <source>Progress Bar</source>
        <translation>Barra de progreso</translation>
    </message>
    <message>
        <source>MP3 File(s)</source>
        <translation>Archivo(s) MP3</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Llamada a procedimiento o argumento no válido</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Imagen no válida</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>No se han añadido archivos.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>La carpeta no existe. Elija otra carpeta.</translation>
    </message>
    <message>
        <source>Stop converting now? Files already converted are kept.</source>
        <translation>¿Detener la conversión ahora? Los archivos ya convertidos se conservan.</translation>
    </message>
    <message>
        <source>Mono describes a system where all the audio signals are mixed together and routed through a single audio channel.</source>
        <translation>Mono describe un sistema en el que todas las señales de audio se mezclan y se envían por un único canal de audio.</translation>
    </message>
    <message>
        <source>Stereo sound systems have two independent audio signal channels.</source>
        <translation>Los sistemas de sonido estéreo tienen dos canales de señal de audio independientes.</translation>
    </message>
    <message>
        <source>If you have a file that does not convert correctly, try splitting it into multiple parts and try with this software again. If this works or if you have any questions, please email %1.</source>
        <translation>Si un archivo no se convierte correctamente, pruebe a dividirlo en varias partes y vuelva a intentarlo con este programa. Si así funciona o si tiene alguna pregunta, escriba a %1.</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Elija una carpeta:</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Añadir archivo(s) - Mantenga pulsada Ctrl para seleccionar varios archivos</translation>
    </message>
    <message>
        <source>MP3 File</source>
        <translation>Archivo MP3</translation>
    </message>
    <message>
        <source>You&apos;ve selected too many files to add.<byte value="xd"/><byte value="xd"/>Please try adding via the &quot;Add All&quot; button.</source>
        <translation>Ha seleccionado demasiados archivos para añadir.<byte value="xd"/><byte value="xd"/>Pruebe a añadirlos con el botón «Añadir todos los MP3 de una carpeta».</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Escriba la extensión de los archivos que desea cargar:<byte value="xd"/><byte value="xd"/>(* para todos los archivos, txt para todos los archivos txt, doc para todos los archivos doc, etc.)</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>¿Desea que este programa abra la carpeta donde se guardan estos archivos de ejemplo (para que pueda verlos antes de trabajar con ellos)?</translation>
    </message>
</context>
</TS>
